#pragma once

#include <QDateTime>

#include "core/base/ole_date_time.h"

namespace paylark {

// Wall-clock conversions between the records' date-time and Qt's. Qt values use Qt::UTC as
// their time zone, so no daylight-saving rule ever shifts a stored time.
QDateTime ToQDateTime(const OleDateTime& value);
// An invalid QDateTime gives an invalid OleDateTime.
OleDateTime ToOleDateTime(const QDateTime& value);

}  // namespace paylark

#pragma once

#include <QString>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"

namespace paylark {

// "$1,234.50", as the month list shows amounts.
QString MoneyText(Cents cents);
// "15 Dec 2026".
QString DayText(const OleDateTime& date);

}  // namespace paylark

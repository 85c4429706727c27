#pragma once

#include <QDateTime>

namespace paylark {

// The same day months later (or earlier), the day lowered until it exists: 31 March back one
// month is 28 or 29 February. The time of day becomes 00:00:00.
QDateTime ShiftedMonth(const QDateTime& from, int months);

}  // namespace paylark

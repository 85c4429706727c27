#include "ui/shell/month_shift.h"

namespace paylark {

QDateTime ShiftedMonth(const QDateTime& from, int months) {
  const QDate date = from.date();
  const int index = date.year() * 12 + (date.month() - 1) + months;
  const int year = index / 12;
  const int month = index % 12 + 1;
  int day = date.day();
  while (day > 1 && !QDate::isValid(year, month, day))
    --day;
  return QDateTime(QDate(year, month, day), QTime(0, 0), from.timeSpec());
}

}  // namespace paylark

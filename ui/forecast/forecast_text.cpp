#include "ui/forecast/forecast_text.h"

#include "core/base/format.h"

namespace paylark {

QString MoneyText(Cents cents) {
  return QString::fromStdString(FormatAmount(FromCents(cents)));
}

QString DayText(const OleDateTime& date) {
  return QString::fromStdString(FormatDate(date, "d MMM yyyy"));
}

}  // namespace paylark

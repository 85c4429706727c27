#include "ui/base/date_conversion.h"

namespace paylark {

QDateTime ToQDateTime(const OleDateTime& value) {
  if (!value.IsValid())
    return {};
  const CivilDateTime c = value.ToCivil();
  return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second), Qt::UTC);
}

OleDateTime ToOleDateTime(const QDateTime& value) {
  if (!value.isValid())
    return OleDateTime(0.0, OleDateTime::Status::kInvalid);
  const QDate date = value.date();
  const QTime time = value.time();
  return OleDateTime::FromCivil(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                                time.second())
      .value_or(OleDateTime(0.0, OleDateTime::Status::kInvalid));
}

}  // namespace paylark

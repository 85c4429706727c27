#include "ui/widgets/date_picker.h"

#include <QSignalBlocker>

#include "ui/base/date_conversion.h"
#include "ui/widgets/section_keys.h"

namespace paylark {
namespace {

const QDateTime& Earliest() {
  static const QDateTime earliest(QDate(OleDateTime::kMinYear, 1, 1), QTime(0, 0), Qt::UTC);
  return earliest;
}

const QDateTime& Latest() {
  static const QDateTime latest(QDate(OleDateTime::kMaxYear, 12, 31), QTime(23, 59, 59), Qt::UTC);
  return latest;
}

}  // namespace

QString DatePicker::DisplayFormat(const QLocale& locale) {
  if (locale.name() == QLatin1String("en_US") || locale.language() == QLocale::C)
    return QStringLiteral("MM/dd/yyyy  hh:mm:ss AP");
  // The locale's short forms, as the month list shows them: four-digit years, no seconds.
  QString date = locale.dateFormat(QLocale::ShortFormat);
  if (!date.contains(QLatin1String("yyyy")))
    date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
  return date + QLatin1Char(' ') + locale.timeFormat(QLocale::ShortFormat);
}

DatePicker::DatePicker(QWidget* parent) : QDateTimeEdit(parent) {
  setTimeSpec(Qt::UTC);
  setDateTimeRange(Earliest(), Latest());
  setDisplayFormat(DisplayFormat(QLocale::system()));
  setCalendarPopup(true);
  UseSectionKeys(*this);
  connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] { picked_ = true; });
}

void DatePicker::SetValue(const OleDateTime& value) {
  const QSignalBlocker quiet(this);
  original_ = value;
  picked_ = false;
  setDateTime(ToQDateTime(value));
}

OleDateTime DatePicker::Value() const {
  if (!picked_ || dateTime() == ToQDateTime(original_))
    return original_;
  return ToOleDateTime(dateTime());
}

void DatePicker::SetNoMinimum() {
  setMinimumDateTime(Earliest());
}

void DatePicker::SetNoMaximum() {
  setMaximumDateTime(Latest());
}

}  // namespace paylark

#pragma once

#include <QDateTimeEdit>
#include <QLocale>

#include "core/base/ole_date_time.h"

namespace paylark {

// A date-time picker as the editor and the pattern dialog show it: in the locale's short date and
// time ("MM/dd/yyyy  hh:mm:ss AP" under en_US), wall-clock values (held as UTC, so no
// daylight-saving shift), the years 100 to 9999, a calendar to drop down, and one Tab per picker
// (the arrow keys move between its sections).
class DatePicker final : public QDateTimeEdit {
  Q_OBJECT

 public:
  explicit DatePicker(QWidget* parent = nullptr);

  // The display format for the locale: "MM/dd/yyyy  hh:mm:ss AP" for en_US and C; otherwise the
  // locale's short date (with a four-digit year) and short time, "dd.MM.yyyy HH:mm" for de_DE.
  static QString DisplayFormat(const QLocale& locale);

  // Shows the value and remembers it as the one to keep while the user picks nothing else.
  void SetValue(const OleDateTime& value);
  // The remembered value bit for bit, unless the user picked another moment.
  OleDateTime Value() const;

  void SetNoMinimum();
  void SetNoMaximum();
  void SetMinimum(const QDateTime& minimum) { setMinimumDateTime(minimum); }
  void SetMaximum(const QDateTime& maximum) { setMaximumDateTime(maximum); }

 private:
  OleDateTime original_;
  bool picked_ = false;
};

}  // namespace paylark

#pragma once

#include <QDateTimeEdit>

#include "core/base/ole_date_time.h"

namespace paylark {

// A date-time picker as the editor and the pattern dialog show it: "MM/dd/yyyy  hh:mm:ss AP",
// wall-clock values (held as UTC, so no daylight-saving shift), the years 100 to 9999, and a
// calendar to drop down.
class DatePicker final : public QDateTimeEdit {
  Q_OBJECT

 public:
  explicit DatePicker(QWidget* parent = nullptr);

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

#include "ui/widgets/day_axis.h"

#include <QtCharts/QCategoryAxis>
#include <algorithm>

#include "core/base/format.h"
#include "ui/base/date_conversion.h"

namespace paylark {
namespace {

constexpr double kHalfDay = 12.0 * 60 * 60 * 1000;
constexpr double kYear = 365 * 2 * kHalfDay;
// Of the whole span, the room either side, so that a mark at either end is never cut.
constexpr double kRoomShare = 0.02;

}  // namespace

double DayAxisValue(const OleDateTime& moment) {
  return static_cast<double>(ToQDateTime(moment).toMSecsSinceEpoch());
}

void FillDayAxis(QCategoryAxis& axis, const std::vector<OleDateTime>& days) {
  for (const QString& label : axis.categoriesLabels())
    axis.remove(label);
  axis.setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  if (days.empty())
    return;
  // Within a year the day and month say which day; over more, the month and year.
  const double first = DayAxisValue(days.front());
  const double last = DayAxisValue(days.back());
  const bool withinAYear = last - first < kYear;
  const char* picture = withinAYear ? "d MMM" : "MMM yyyy";
  const std::size_t step = (days.size() + kMostDayLabels - 1) / kMostDayLabels;
  double labelled = first - 1;
  for (std::size_t i = 0; i < days.size(); i += step) {
    const double at = DayAxisValue(days[i]);
    // Two points on one day share a label; the axis takes each label once, at rising values.
    if (at <= labelled)
      continue;
    axis.append(QString::fromStdString(FormatDate(days[i], picture)), at);
    labelled = at;
  }
  const double room = std::max(kHalfDay, (last - first) * kRoomShare);
  axis.setRange(first - room, last + room);
}

}  // namespace paylark

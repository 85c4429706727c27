#pragma once

#include <vector>

#include "core/base/ole_date_time.h"

class QCategoryAxis;

namespace paylark {

// The x value of a wall-clock moment on a chart's day axis: milliseconds since the epoch.
double DayAxisValue(const OleDateTime& moment);

// Fills a chart's date axis for points at `days` (in order): labels stand at some of those days
// themselves (at most kMostDayLabels, evenly picked, the first always), so each names the day of
// the point above it ("1 Dec"; "Dec 2026" where the days span a year or more), and a little room
// either side keeps a mark on the first or last day whole. Labels already on the axis are
// replaced.
void FillDayAxis(QCategoryAxis& axis, const std::vector<OleDateTime>& days);

inline constexpr std::size_t kMostDayLabels = 5;

}  // namespace paylark

#include "core/statements/recurring/cadence.h"

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "core/statements/open_dues.h"

namespace paylark {
namespace {

constexpr int kSunday = 1;
constexpr int kMonday = 2;
constexpr int kFriday = 6;
constexpr int kSaturday = 7;
// Banks book a day or two late, and not on holidays: a booking this far from its occurrence
// still belongs to it.
constexpr std::int64_t kSlackDays = 2;
constexpr double kDaysPerMonth = 30.44;
constexpr std::array<int, 3> kWeekSteps = {1, 2, 4};
constexpr std::array<int, 5> kMonthSteps = {1, 2, 3, 6, 12};

OleDateTime DateOfDay(std::int64_t day) {
  return OleDateTime(static_cast<double>(day));
}

OleDateTime MonthOccurrence(int monthIndex, int day) {
  const int year = monthIndex / 12;
  const int month = monthIndex % 12 + 1;
  return OleDateTime::FromCivil(year, month, std::min(day, DaysInCivilMonth(year, month)))
      .value_or(OleDateTime());
}

int MonthIndexOf(const OleDateTime& date) {
  const CivilDateTime civil = date.ToCivil();
  return civil.year * 12 + civil.month - 1;
}

// How a booking came to lie where it does.
enum class Move { kNone, kToMonday, kToFriday };

// Days from the occurrence to the booking; a booking on the Monday after or the Friday before an
// occurrence on a weekend lies on it.
std::int64_t DistanceTo(std::int64_t booking, const OleDateTime& occurrence, Move& move) {
  const std::int64_t day = DayNumber(occurrence);
  const int weekday = occurrence.DayOfWeek();
  move = Move::kNone;
  if (weekday == kSaturday || weekday == kSunday) {
    if (booking == day + (weekday == kSaturday ? 2 : 1)) {
      move = Move::kToMonday;
      return 0;
    }
    if (booking == day - (weekday == kSaturday ? 1 : 2)) {
      move = Move::kToFriday;
      return 0;
    }
  }
  return std::llabs(booking - day);
}

struct Nearest {
  int monthIndex = 0;
  std::int64_t distance = LLONG_MAX;
  Move move = Move::kNone;
};

// The month occurrence on the day nearest the booking: of its own month or a neighbour.
Nearest NearestMonthOccurrence(const OleDateTime& booking, int day) {
  Nearest nearest;
  const std::int64_t bookingDay = DayNumber(booking);
  const int own = MonthIndexOf(booking);
  for (int monthIndex = own - 1; monthIndex <= own + 1; ++monthIndex) {
    Move move = Move::kNone;
    const std::int64_t distance = DistanceTo(bookingDay, MonthOccurrence(monthIndex, day), move);
    if (distance < nearest.distance)
      nearest = {monthIndex, distance, move};
  }
  return nearest;
}

struct Fit {
  std::int64_t distance = 0;
  int toMonday = 0;
  int toFriday = 0;
};

std::optional<Fit> FitMonths(const std::vector<OleDateTime>& bookings, int day, int every) {
  Fit fit;
  std::optional<int> previous;
  for (const OleDateTime& booking : bookings) {
    const Nearest nearest = NearestMonthOccurrence(booking, day);
    if (nearest.distance > kSlackDays || (previous && nearest.monthIndex - *previous != every))
      return std::nullopt;
    previous = nearest.monthIndex;
    fit.distance += nearest.distance;
    fit.toMonday += nearest.move == Move::kToMonday ? 1 : 0;
    fit.toFriday += nearest.move == Move::kToFriday ? 1 : 0;
  }
  return fit;
}

// The days of the month an occurrence may have fallen on: the booking's own, and the weekend
// before a Monday or after a Friday.
std::set<int> CandidateDays(const std::vector<OleDateTime>& bookings) {
  std::set<int> days;
  for (const OleDateTime& booking : bookings) {
    const std::int64_t day = DayNumber(booking);
    days.insert(booking.ToCivil().day);
    const int weekday = booking.DayOfWeek();
    const int direction = weekday == kMonday ? -1 : weekday == kFriday ? 1 : 0;
    for (int step = 1; direction != 0 && step <= 2; ++step)
      days.insert(DateOfDay(day + std::int64_t{direction} * step).ToCivil().day);
  }
  return days;
}

std::optional<Cadence> FindMonthly(const std::vector<OleDateTime>& bookings, int every) {
  std::optional<Cadence> best;
  std::int64_t bestDistance = LLONG_MAX;
  for (const int day : CandidateDays(bookings)) {
    const std::optional<Fit> fit = FitMonths(bookings, day, every);
    if (!fit || fit->distance >= bestDistance)
      continue;
    bestDistance = fit->distance;
    const WeekendShift shift = fit->toMonday == 0 && fit->toFriday == 0 ? WeekendShift::kKeep
                               : fit->toMonday >= fit->toFriday         ? WeekendShift::kMondayAfter
                                                                : WeekendShift::kFridayBefore;
    best = Cadence{CadenceUnit::kMonths, every, kSunday, day, shift};
  }
  return best;
}

int MostCommonWeekday(const std::vector<OleDateTime>& bookings) {
  std::array<int, 8> counts{};
  for (const OleDateTime& booking : bookings)
    ++counts[static_cast<std::size_t>(booking.DayOfWeek())];
  int weekday = bookings.front().DayOfWeek();
  for (int candidate = kSunday; candidate <= kSaturday; ++candidate) {
    if (counts[static_cast<std::size_t>(candidate)] > counts[static_cast<std::size_t>(weekday)])
      weekday = candidate;
  }
  return weekday;
}

// The day of the weekday nearest the booking.
std::int64_t NearestWeekday(const OleDateTime& booking, int weekday) {
  int offset = (weekday - booking.DayOfWeek() + 7) % 7;
  if (offset > 3)
    offset -= 7;
  return DayNumber(booking) + offset;
}

bool FitsWeeks(const std::vector<OleDateTime>& bookings, int weekday, int every) {
  const std::int64_t anchor = NearestWeekday(bookings.front(), weekday);
  for (std::size_t i = 0; i < bookings.size(); ++i) {
    const std::int64_t expected = anchor + std::int64_t{7} * every * static_cast<std::int64_t>(i);
    if (std::llabs(DayNumber(bookings[i]) - expected) > kSlackDays)
      return false;
  }
  return true;
}

std::string Ordinal(int day) {
  const int lastTwo = day % 100;
  const char* suffix = "th";
  if (lastTwo < 11 || lastTwo > 13) {
    if (day % 10 == 1)
      suffix = "st";
    else if (day % 10 == 2)
      suffix = "nd";
    else if (day % 10 == 3)
      suffix = "rd";
  }
  return std::to_string(day) + suffix;
}

// Bookings closer than this belong to no cadence, not even a weekly one booked late and early.
constexpr std::int64_t kClosestDays = 7 - 2 * kSlackDays;

bool TooClose(const std::vector<OleDateTime>& bookings) {
  for (std::size_t i = 1; i < bookings.size(); ++i) {
    if (DayNumber(bookings[i]) - DayNumber(bookings[i - 1]) < kClosestDays)
      return true;
  }
  return false;
}

}  // namespace

std::optional<Cadence> FindCadence(const std::vector<OleDateTime>& bookings, CadenceReach reach) {
  if (bookings.size() < 2 || TooClose(bookings))
    return std::nullopt;
  if (bookings.size() >= 3) {
    const int weekday = MostCommonWeekday(bookings);
    for (const int every : kWeekSteps) {
      if (FitsWeeks(bookings, weekday, every))
        return Cadence{CadenceUnit::kWeeks, every, weekday, 1, WeekendShift::kKeep};
    }
  }
  for (const int every : kMonthSteps) {
    if (reach == CadenceReach::kWeeks || (every == 12 && reach != CadenceReach::kYears))
      break;
    if (bookings.size() < 3 && every != 12)
      continue;
    if (std::optional<Cadence> cadence = FindMonthly(bookings, every))
      return cadence;
  }
  return std::nullopt;
}

OleDateTime NominalDate(const Cadence& cadence, const OleDateTime& booking) {
  if (cadence.unit == CadenceUnit::kWeeks)
    return DateOfDay(NearestWeekday(booking, cadence.weekday));
  return MonthOccurrence(NearestMonthOccurrence(booking, cadence.day).monthIndex, cadence.day);
}

std::optional<OleDateTime> NextOccurrence(const Cadence& cadence, const OleDateTime& occurrence) {
  if (cadence.unit == CadenceUnit::kWeeks)
    return occurrence.AddDays(std::int64_t{7} * cadence.every);
  const int next = MonthIndexOf(occurrence) + cadence.every;
  if (next / 12 > OleDateTime::kMaxYear)
    return std::nullopt;
  return MonthOccurrence(next, cadence.day);
}

double PeriodDays(const Cadence& cadence) {
  return cadence.unit == CadenceUnit::kWeeks ? 7.0 * cadence.every : kDaysPerMonth * cadence.every;
}

RecurrencePattern PatternOf(const Cadence& cadence, const OleDateTime& start, int count) {
  RecurrencePattern pattern;
  pattern.rangeStart = start;
  pattern.endBy = start;
  pattern.rangeEnd = RangeEnd::kAfterCount;
  pattern.count = std::to_string(count);
  pattern.weekendShift = cadence.shift;
  const CivilDateTime civil = start.ToCivil();
  if (cadence.unit == CadenceUnit::kWeeks) {
    pattern.kind = RecurrenceKind::kWeek;
    pattern.weekInterval = std::to_string(cadence.every);
    pattern.weekdays[static_cast<std::size_t>(cadence.weekday - 1)] = true;
  } else if (cadence.every == 12) {
    pattern.kind = RecurrenceKind::kYear;
    pattern.yearForm = YearForm::kDate;
    pattern.yearDateMonth = civil.month - 1;
    pattern.yearDay = std::to_string(civil.day);
  } else {
    pattern.kind = RecurrenceKind::kMonth;
    pattern.monthForm = MonthForm::kDayOfMonth;
    pattern.monthDay = std::to_string(cadence.day);
    pattern.monthIntervalDayForm = std::to_string(cadence.every);
  }
  return pattern;
}

std::string CadenceText(const Cadence& cadence, const OleDateTime& occurrence) {
  const std::string every = std::to_string(cadence.every);
  if (cadence.unit == CadenceUnit::kWeeks) {
    const std::string weekday(kWeekdayNames[static_cast<std::size_t>(cadence.weekday - 1)]);
    return (cadence.every == 1 ? std::string("weekly") : "every " + every + " weeks") + " on " +
           weekday;
  }
  if (cadence.every == 12) {
    const CivilDateTime civil = occurrence.ToCivil();
    return "yearly on " + std::to_string(civil.day) + " " +
           std::string(kMonthNames[static_cast<std::size_t>(civil.month - 1)].substr(0, 3));
  }
  return (cadence.every == 1 ? std::string("monthly") : "every " + every + " months") + " on the " +
         Ordinal(cadence.day);
}

}  // namespace paylark

#include "core/recurrence/series_generation.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/recurrence/pattern_validation.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kSaturday = 7;

// One run's placeholder template, its range end and the IDs stored so far.
class SeriesRun {
 public:
  SeriesRun(RecordStore& store, DueRecord placeholder, const RecurrencePattern& pattern,
            SeriesResult& result, const Progress& progress)
      : store_(store),
        placeholder_(std::move(placeholder)),
        rangeEnd_(pattern.rangeEnd),
        count_(LeadingInteger(pattern.count)),
        endBy_(pattern.endBy.LinearSeconds()),
        result_(result),
        progress_(progress) {}

  // Adds the placeholder for an occurrence; false once a write has failed.
  bool Store(std::int64_t occurrence) {
    const std::optional<OleDateTime> start = OleDateTime::FromLinearSeconds(occurrence);
    if (!start)
      return true;
    DueRecord record = placeholder_;
    record.startDate = *start;
    AddResult added = store_.Add(std::move(record));
    result_.recordIds.push_back(std::move(added.recordId));
    Report(progress_, result_.recordIds.size(),
           rangeEnd_ == RangeEnd::kAfterCount ? static_cast<std::size_t>(count_) : 0);
    if (added.status.ok())
      return true;
    result_.status = std::move(added.status);
    return false;
  }

  bool WithinEnd(std::int64_t occurrence) const {
    return rangeEnd_ == RangeEnd::kAfterCount || occurrence <= endBy_;
  }

  // The test made once per pass, after stepping to the next candidate.
  bool Finished(std::int64_t nextCandidate) const {
    if (rangeEnd_ == RangeEnd::kByDate)
      return nextCandidate > endBy_;
    return result_.recordIds.size() >= static_cast<std::size_t>(count_);
  }

 private:
  RecordStore& store_;
  DueRecord placeholder_;
  RangeEnd rangeEnd_;
  int count_;
  std::int64_t endBy_;
  SeriesResult& result_;
  const Progress& progress_;
};

bool Representable(std::int64_t second) {
  return OleDateTime::FromLinearSeconds(second).has_value();
}

int WeekdayOf(std::int64_t second) {
  return OleDateTime::FromLinearSeconds(second).value_or(OleDateTime()).DayOfWeek();
}

// Runs past the last representable date stop quietly: the range simply ends there.
void RunDays(SeriesRun& run, std::int64_t start, std::int64_t intervalDays) {
  for (std::int64_t cur = start;;) {
    if (!run.Store(cur))
      return;
    cur += intervalDays * kSecondsPerDay;
    if (!Representable(cur) || run.Finished(cur))
      return;
  }
}

void RunWeeks(SeriesRun& run, std::int64_t start, std::int64_t intervalWeeks,
              const std::array<bool, 7>& weekdays) {
  for (std::int64_t cur = start;;) {
    const int weekday = WeekdayOf(cur);
    if (weekdays[static_cast<std::size_t>(weekday - 1)] && !run.Store(cur))
      return;
    if (weekday == kSaturday)
      cur += 7 * (intervalWeeks - 1) * kSecondsPerDay;
    cur += kSecondsPerDay;
    if (!Representable(cur) || run.Finished(cur))
      return;
  }
}

// The day an occurrence falls on within a month (index from 0) of a year.
using DayRule = std::function<int(int year, int monthIndex)>;

DayRule DayOfMonthRule(int day) {
  return [day](int year, int monthIndex) { return std::min(day, DaysInMonth(monthIndex, year)); };
}

DayRule NthWeekdayRule(int nth, int weekdayIndex) {
  const int weekday = weekdayIndex + 1;
  return [nth, weekday](int year, int monthIndex) {
    if (nth >= kLastNth) {
      const int last = DaysInMonth(monthIndex, year);
      const int lastWeekday =
          OleDateTime::FromCivil(year, monthIndex + 1, last).value_or(OleDateTime()).DayOfWeek();
      int delta = weekday - lastWeekday;
      if (delta > 0)
        delta -= 7;
      return last + delta;
    }
    const int firstWeekday =
        OleDateTime::FromCivil(year, monthIndex + 1, 1).value_or(OleDateTime()).DayOfWeek();
    return 1 + (weekday - firstWeekday + 7) % 7 + 7 * nth;
  };
}

std::int64_t PeriodStart(int year, int monthIndex) {
  return OleDateTime::FromCivil(year, monthIndex + 1, 1, 0, 0, 1)
      .value_or(OleDateTime())
      .LinearSeconds();
}

// Month and year series: one candidate per period of stepMonths months, each kept when it lies
// within the range. Steps above 12 months carry whole years.
void RunPeriods(SeriesRun& run, const OleDateTime& rangeStart, int year, int monthIndex,
                std::int64_t stepMonths, const DayRule& dayOf) {
  const CivilDateTime time = rangeStart.ToCivil();
  const std::int64_t start = rangeStart.LinearSeconds();
  for (;;) {
    const std::optional<OleDateTime> occurrence = OleDateTime::FromCivil(
        year, monthIndex + 1, dayOf(year, monthIndex), time.hour, time.minute, time.second);
    if (occurrence) {
      const std::int64_t second = occurrence->LinearSeconds();
      if (second >= start && run.WithinEnd(second) && !run.Store(second))
        return;
    }
    const std::int64_t months = monthIndex + stepMonths;
    const std::int64_t nextYear = year + months / 12;
    if (nextYear > OleDateTime::kMaxYear)
      return;
    year = static_cast<int>(nextYear);
    monthIndex = static_cast<int>(months % 12);
    if (run.Finished(PeriodStart(year, monthIndex)))
      return;
  }
}

int ComboIndex(int index, int last) {
  return std::clamp(index, 0, last);
}

void RunPattern(SeriesRun& run, const RecurrencePattern& pattern) {
  const CivilDateTime start = pattern.rangeStart.ToCivil();
  const std::int64_t startSecond = pattern.rangeStart.LinearSeconds();
  switch (pattern.kind) {
    case RecurrenceKind::kDay: {
      const bool weekly = pattern.dayForm == DayForm::kEveryWeekday;
      return RunDays(run, startSecond, weekly ? 7 : LeadingInteger(pattern.dayInterval));
    }
    case RecurrenceKind::kWeek:
      return RunWeeks(run, startSecond, LeadingInteger(pattern.weekInterval), pattern.weekdays);
    case RecurrenceKind::kMonth: {
      if (pattern.monthForm == MonthForm::kDayOfMonth) {
        return RunPeriods(run, pattern.rangeStart, start.year, start.month - 1,
                          LeadingInteger(pattern.monthIntervalDayForm),
                          DayOfMonthRule(LeadingInteger(pattern.monthDay)));
      }
      return RunPeriods(run, pattern.rangeStart, start.year, start.month - 1,
                        LeadingInteger(pattern.monthIntervalNthForm),
                        NthWeekdayRule(ComboIndex(pattern.monthNth, kLastNth),
                                       ComboIndex(pattern.monthWeekday, 6)));
    }
    case RecurrenceKind::kYear: {
      if (pattern.yearForm == YearForm::kDate) {
        return RunPeriods(run, pattern.rangeStart, start.year,
                          ComboIndex(pattern.yearDateMonth, 11), 12,
                          DayOfMonthRule(LeadingInteger(pattern.yearDay)));
      }
      return RunPeriods(run, pattern.rangeStart, start.year, ComboIndex(pattern.yearNthMonth, 11),
                        12,
                        NthWeekdayRule(ComboIndex(pattern.yearNth, kLastNth),
                                       ComboIndex(pattern.yearWeekday, 6)));
    }
  }
}

}  // namespace

SeriesResult GenerateSeries(const RecurrencePattern& pattern, RecordStore& store,
                            const Clock& clock, const Progress& progress) {
  SeriesResult result;
  result.seriesId = store.MakeSeriesId();

  DueRecord placeholder;
  placeholder.startDate = clock.Now();
  placeholder.dueDate = placeholder.startDate;
  placeholder.seriesId = result.seriesId;

  if (std::optional<Message> refusal = ValidatePattern(pattern)) {
    result.status = Status::InvalidArgument(MessageText(*refusal));
    return result;
  }
  if (!pattern.rangeStart.IsValid() ||
      !OleDateTime::FromLinearSeconds(pattern.rangeStart.LinearSeconds())) {
    result.status = Status::InvalidArgument("the range start is not a valid date");
    return result;
  }

  StoreBatch batch(store);
  SeriesRun run(store, std::move(placeholder), pattern, result, progress);
  RunPattern(run, pattern);
  Status flushed = batch.Finish();
  if (result.status.ok())
    result.status = std::move(flushed);
  result.success = result.status.ok();
  return result;
}

}  // namespace paylark

#include "core/recurrence/series_generation.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "core/recurrence/pattern_validation.h"

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kSaturday = 7;

// One run over a pattern's occurrences: each is handed to the sink, which says whether the run
// goes on. The range end is tested against the number of occurrences made so far.
class SeriesRun {
 public:
  using Sink = std::function<bool(const OleDateTime& occurrence)>;

  SeriesRun(const RecurrencePattern& pattern, Sink sink)
      : sink_(std::move(sink)),
        rangeEnd_(pattern.rangeEnd),
        count_(LeadingInteger(pattern.count)),
        endBy_(pattern.endBy.LinearSeconds()) {}

  // False once the sink has stopped the run.
  bool Store(std::int64_t occurrence) {
    const std::optional<OleDateTime> start = OleDateTime::FromLinearSeconds(occurrence);
    if (!start)
      return true;
    ++made_;
    return sink_(*start);
  }

  bool WithinEnd(std::int64_t occurrence) const {
    return rangeEnd_ == RangeEnd::kAfterCount || occurrence <= endBy_;
  }

  // The test made once per pass, after stepping to the next candidate.
  bool Finished(std::int64_t nextCandidate) const {
    if (rangeEnd_ == RangeEnd::kByDate)
      return nextCandidate > endBy_;
    return made_ >= static_cast<std::size_t>(count_);
  }

 private:
  Sink sink_;
  RangeEnd rangeEnd_;
  int count_;
  std::int64_t endBy_;
  std::size_t made_ = 0;
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

// A refused pattern or range start: the message to give, or nothing.
std::optional<Status> Refusal(const RecurrencePattern& pattern) {
  if (std::optional<Message> refusal = ValidatePattern(pattern))
    return Status::InvalidArgument(MessageText(*refusal));
  if (!pattern.rangeStart.IsValid() ||
      !OleDateTime::FromLinearSeconds(pattern.rangeStart.LinearSeconds())) {
    return Status::InvalidArgument("the range start is not a valid date");
  }
  return std::nullopt;
}

// Adds one record per occurrence, as `make` shapes it from the occurrence, in one batch. Only
// the IDs whose files were written are kept: a failed write is taken out of the map again, so
// undoing the run never touches a file that another process wrote under that ID.
SeriesResult Generate(const RecurrencePattern& pattern, RecordStore& store,
                      const std::function<DueRecord(const OleDateTime&)>& make,
                      const Progress& progress) {
  SeriesResult result;
  result.seriesId = store.MakeSeriesId();
  if (std::optional<Status> refusal = Refusal(pattern)) {
    result.status = std::move(*refusal);
    return result;
  }
  const std::size_t total =
      pattern.rangeEnd == RangeEnd::kAfterCount
          ? static_cast<std::size_t>(std::max(LeadingInteger(pattern.count), 0))
          : 0;
  StoreBatch batch(store);
  SeriesRun run(pattern, [&](const OleDateTime& occurrence) {
    DueRecord record = make(occurrence);
    record.seriesId = result.seriesId;
    AddResult added = store.Add(std::move(record));
    if (!added.status.ok()) {
      store.Forget(added.recordId);
      result.status = std::move(added.status);
      return false;
    }
    result.recordIds.push_back(std::move(added.recordId));
    Report(progress, result.recordIds.size(), total);
    return true;
  });
  RunPattern(run, pattern);
  Status flushed = batch.Finish();
  if (result.status.ok())
    result.status = std::move(flushed);
  result.success = result.status.ok();
  return result;
}

}  // namespace

SeriesSurvey SurveySeries(const RecurrencePattern& pattern) {
  SeriesSurvey survey;
  if (Refusal(pattern))
    return survey;
  SeriesRun run(pattern, [&](const OleDateTime& occurrence) {
    ++survey.count;
    survey.last = occurrence;
    return true;
  });
  RunPattern(run, pattern);
  return survey;
}

SeriesResult GenerateSeries(const RecurrencePattern& pattern, RecordStore& store,
                            const Clock& clock, const Progress& progress) {
  DueRecord placeholder;
  placeholder.startDate = clock.Now();
  placeholder.dueDate = placeholder.startDate;
  return Generate(
      pattern, store,
      [&](const OleDateTime& occurrence) {
        DueRecord record = placeholder;
        record.startDate = occurrence;
        return record;
      },
      progress);
}

SeriesResult GenerateDues(const RecurrencePattern& pattern, RecordStore& store,
                          const DueRecord& sheet, const DueOffset& offset,
                          const Progress& progress) {
  if (const std::optional<OleDateTime> last = SurveySeries(pattern).last;
      last && !last->AddSeconds(offset.TotalSeconds())) {
    SeriesResult refused;
    refused.seriesId = store.MakeSeriesId();
    refused.status = Status::InvalidArgument(kDueBeyondLastYear);
    return refused;
  }
  bool first = true;
  return Generate(
      pattern, store,
      [&](const OleDateTime& occurrence) {
        DueRecord record;
        record.startDate = occurrence;
        record = FinishedDue(record, sheet, offset, std::exchange(first, false)).value_or(record);
        return record;
      },
      progress);
}

}  // namespace paylark

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>
#include <variant>

#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "cli/record_fields.h"
#include "core/base/field_parsing.h"
#include "core/recurrence/new_due.h"
#include "core/recurrence/pattern_validation.h"
#include "core/recurrence/series_generation.h"

namespace paylark::cli {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The index of a dialog item text, in any letter case.
template <std::size_t N>
std::optional<int> ItemIndex(const std::array<std::string_view, N>& items, std::string_view text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (SameLetters(items[i], text))
      return static_cast<int>(i);
  }
  return std::nullopt;
}

// Takes --name as an index into the items, leaving index as it is when the option is absent.
template <std::size_t N>
std::optional<std::string> TakeItem(Arguments& arguments, std::string_view name,
                                    const std::array<std::string_view, N>& items, int& index) {
  const auto text = arguments.TakeValue(name);
  if (!text)
    return std::nullopt;
  const auto found = ItemIndex(items, *text);
  if (!found)
    return std::string(name) + " does not name one of the dialog's items: \"" + *text + "\"";
  index = *found;
  return std::nullopt;
}

void TakeText(Arguments& arguments, std::string_view name, std::string& text) {
  if (auto value = arguments.TakeValue(name))
    text = *value;
}

// --on sun,mon,...: each day by its first three letters or its full name. An empty list is the
// dialog's refusal.
std::optional<std::string> TakeWeekdays(Arguments& arguments, std::array<bool, 7>& weekdays) {
  const auto list = arguments.TakeValue("--on");
  if (!list)
    return std::nullopt;
  weekdays = {};
  std::istringstream days(*list);
  for (std::string day; std::getline(days, day, ',');) {
    if (day.empty())
      continue;
    std::optional<int> index = ItemIndex(kWeekdayNames, day);
    for (std::size_t i = 0; !index && i < kWeekdayNames.size(); ++i) {
      if (SameLetters(kWeekdayNames[i].substr(0, 3), day))
        index = static_cast<int>(i);
    }
    if (!index)
      return "--on does not name a weekday: \"" + day + "\"";
    weekdays[static_cast<std::size_t>(*index)] = true;
  }
  if (std::none_of(weekdays.begin(), weekdays.end(), [](bool ticked) { return ticked; }))
    return MessageText(MessageId::kSelectOneDay);
  return std::nullopt;
}

// The nth form: the --nth text given, then --weekday; --day belongs to the other form.
std::optional<std::string> TakeNth(Arguments& arguments, const std::string& nthText, int& nth,
                                   int& weekday) {
  const auto index = ItemIndex(kNthNames, nthText);
  if (!index)
    return "--nth must be first, second, third, fourth or last";
  nth = *index;
  if (arguments.TakeValue("--day"))
    return "--day and --nth exclude each other";
  return TakeItem(arguments, "--weekday", kWeekdayNames, weekday);
}

std::optional<std::string> NoWeekdayWithoutNth(Arguments& arguments) {
  if (arguments.TakeValue("--weekday"))
    return "--weekday goes with --nth";
  return std::nullopt;
}

std::optional<std::string> TakeMonthOptions(Arguments& arguments, RecurrencePattern& pattern) {
  if (const auto nth = arguments.TakeValue("--nth")) {
    pattern.monthForm = MonthForm::kNthWeekday;
    TakeText(arguments, "--every", pattern.monthIntervalNthForm);
    return TakeNth(arguments, *nth, pattern.monthNth, pattern.monthWeekday);
  }
  TakeText(arguments, "--day", pattern.monthDay);
  TakeText(arguments, "--every", pattern.monthIntervalDayForm);
  return NoWeekdayWithoutNth(arguments);
}

std::optional<std::string> TakeYearOptions(Arguments& arguments, RecurrencePattern& pattern) {
  if (const auto nth = arguments.TakeValue("--nth")) {
    pattern.yearForm = YearForm::kNthWeekday;
    if (auto problem = TakeItem(arguments, "--month", kMonthNames, pattern.yearNthMonth))
      return problem;
    return TakeNth(arguments, *nth, pattern.yearNth, pattern.yearWeekday);
  }
  TakeText(arguments, "--day", pattern.yearDay);
  if (auto problem = TakeItem(arguments, "--month", kMonthNames, pattern.yearDateMonth))
    return problem;
  return NoWeekdayWithoutNth(arguments);
}

std::optional<std::string> TakeKindOptions(Arguments& arguments, RecurrencePattern& pattern) {
  switch (pattern.kind) {
    case RecurrenceKind::kDay:
      TakeText(arguments, "--every", pattern.dayInterval);
      if (arguments.TakeFlag("--every-weekday"))
        pattern.dayForm = DayForm::kEveryWeekday;
      return std::nullopt;
    case RecurrenceKind::kWeek:
      TakeText(arguments, "--every", pattern.weekInterval);
      return TakeWeekdays(arguments, pattern.weekdays);
    case RecurrenceKind::kMonth:
      return TakeMonthOptions(arguments, pattern);
    case RecurrenceKind::kYear:
      return TakeYearOptions(arguments, pattern);
  }
  return std::nullopt;
}

std::optional<std::string> TakeRange(Arguments& arguments, RecurrencePattern& pattern) {
  if (const auto start = arguments.TakeValue("--start")) {
    const auto parsed = ParseDateTime(*start, DateOnly::kStartOfDay);
    if (!parsed)
      return "--start needs a date as YYYY-MM-DD[ HH:MM[:SS]]";
    pattern.rangeStart = *parsed;
  }
  const auto count = arguments.TakeValue("--count");
  const auto endBy = arguments.TakeValue("--end-by");
  if (count && endBy)
    return "--count and --end-by exclude each other";
  if (count)
    pattern.count = *count;
  if (endBy) {
    const auto parsed = ParseDateTime(*endBy, DateOnly::kEndOfDay);
    if (!parsed)
      return "--end-by needs a date as YYYY-MM-DD[ HH:MM[:SS]]";
    pattern.rangeEnd = RangeEnd::kByDate;
    pattern.endBy = *parsed;
  }
  return std::nullopt;
}

std::optional<std::string> TakeWeekend(Arguments& arguments, WeekendShift& shift) {
  const auto word = arguments.TakeValue("--weekend");
  if (!word)
    return std::nullopt;
  const auto index = ItemIndex(kWeekendShiftWords, *word);
  if (!index)
    return "--weekend must be keep, before or after";
  shift = static_cast<WeekendShift>(*index);
  return std::nullopt;
}

std::optional<std::string> TakePattern(Arguments& arguments, RecurrencePattern& pattern) {
  const auto kind = arguments.TakeValue("--kind");
  const auto index = kind ? ItemIndex(kKindNames, *kind) : std::nullopt;
  if (!index)
    return "series needs --kind day|week|month|year";
  pattern.kind = static_cast<RecurrenceKind>(*index);
  if (auto problem = TakeKindOptions(arguments, pattern))
    return problem;
  if (auto problem = TakeWeekend(arguments, pattern.weekendShift))
    return problem;
  return TakeRange(arguments, pattern);
}

std::optional<std::string> TakeOffset(Arguments& arguments, DueOffset& offset) {
  if (const auto days = arguments.TakeValue("--offset-days")) {
    const auto parsed = ParseInteger(*days);
    if (const auto* message = std::get_if<Message>(&parsed))
      return MessageText(*message);
    offset.days = std::get<int>(parsed);
  }
  if (const auto time = arguments.TakeValue("--offset-time")) {
    const auto seconds = ParseTimeOfDay(*time);
    if (!seconds)
      return "--offset-time needs a time of day as HH:MM";
    offset.hours = *seconds / 3600;
    offset.minutes = *seconds / 60 % 60;
  }
  return std::nullopt;
}

// The dues written before a failure are removed again (only those: an ID whose file was not
// written may by now belong to another process).
int FailSeries(CommandContext& context, const SeriesResult& series) {
  (void)DeletePlaceholders(context.store, series.recordIds);
  const int code =
      series.status.code() == StatusCode::kInvalidArgument ? kExitInvalid : kExitFailed;
  return Fail(context, code, "the series could not be saved: " + series.status.message());
}

}  // namespace

int RunSeries(Arguments& arguments, CommandContext& context) {
  RecurrencePattern pattern = RecurrencePattern::Defaults(context.clock.Now());
  DueOffset offset;
  DueRecord sheet = DueRecord::WithDefaults(context.clock);
  if (auto problem = TakePattern(arguments, pattern))
    return UsageError(context, *problem);
  if (auto problem = TakeOffset(arguments, offset))
    return UsageError(context, *problem);
  if (arguments.TakeValue("--due"))
    return UsageError(context, "a series falls due by --offset-days and --offset-time, not --due");
  const bool confirmed = arguments.TakeFlag("--yes");
  if (auto problem = TakeRecordFields(arguments, sheet))
    return UsageError(context, *problem);
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (const auto refusal = ValidatePattern(pattern))
    return UsageError(context, MessageText(*refusal));
  if (const std::size_t count = SurveySeries(pattern).count; count > kManyDues && !confirmed) {
    return UsageError(
        context,
        MessageText({MessageId::kPatternMakesManyDues, {}, static_cast<long long>(count), {}}) +
            "; add --yes to make them");
  }
  ApplyEditorDefaults(sheet);
  offset.weekend = pattern.weekendShift;

  const SeriesResult series = GenerateDues(pattern, context.store, sheet, offset);
  if (!series.success)
    return FailSeries(context, series);
  if (series.recordIds.empty())
    context.err << "paylark-cli: the pattern yields no occurrence; no due was stored\n";
  for (const std::string& id : series.recordIds)
    context.out << id << '\n';
  return kExitSuccess;
}

}  // namespace paylark::cli

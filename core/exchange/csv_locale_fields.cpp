#include "core/exchange/csv_locale_fields.h"

#include <langinfo.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <clocale>
#include <ctime>
#include <vector>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

struct NumberMarks {
  std::string point;
  std::string grouping;
  std::vector<int> groupSizes;  // from the right; the last size repeats
};

constexpr std::string_view kNoBreakSpace = "\u00A0";
constexpr std::string_view kNarrowNoBreakSpace = "\u202F";

bool IsBlankMark(std::string_view mark) {
  return mark == " " || mark == kNoBreakSpace || mark == kNarrowNoBreakSpace;
}

// Any kind of blank as a plain one, so "1 234,56" reads whichever blank a locale groups with.
std::string PlainBlanks(std::string_view text) {
  std::string out(text);
  for (const std::string_view blank : {kNoBreakSpace, kNarrowNoBreakSpace}) {
    for (std::size_t pos; (pos = out.find(blank)) != std::string::npos;)
      out.replace(pos, blank.size(), " ");
  }
  return out;
}

NumberMarks LocaleNumberMarks() {
  const std::lconv* conventions = std::localeconv();
  NumberMarks marks;
  marks.point = LocaleTextToUtf8(conventions->mon_decimal_point);
  if (marks.point.empty())
    marks.point = ".";
  marks.grouping = LocaleTextToUtf8(conventions->mon_thousands_sep);
  if (IsBlankMark(marks.grouping))
    marks.grouping = " ";
  for (const char* size = conventions->mon_grouping; *size > 0 && *size != CHAR_MAX; ++size)
    marks.groupSizes.push_back(*size);
  if (marks.groupSizes.empty())
    marks.grouping.clear();
  return marks;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool RemoveAffix(std::string_view& text, std::string_view affix) {
  if (affix.empty())
    return false;
  if (text.starts_with(affix)) {
    text.remove_prefix(affix.size());
  } else if (text.ends_with(affix)) {
    text.remove_suffix(affix.size());
  } else {
    return false;
  }
  text = TrimWhiteSpace(text);
  return true;
}

// The whole part's digits when its grouping marks stand where the locale groups.
std::optional<std::string> UngroupedDigits(std::string_view whole, const NumberMarks& marks) {
  if (marks.grouping.empty() || whole.find(marks.grouping) == std::string_view::npos)
    return AllDigits(whole) ? std::optional<std::string>(whole) : std::nullopt;
  std::vector<std::string_view> groups;
  for (std::size_t start = 0;;) {
    const std::size_t mark = whole.find(marks.grouping, start);
    groups.push_back(whole.substr(start, mark == std::string_view::npos ? mark : mark - start));
    if (mark == std::string_view::npos)
      break;
    start = mark + marks.grouping.size();
  }
  std::string digits;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const std::string_view group = groups[i];
    const std::size_t rank = groups.size() - 1 - i;  // 0 for the group before the point
    const auto size =
        static_cast<std::size_t>(marks.groupSizes[std::min(rank, marks.groupSizes.size() - 1)]);
    const bool fits = i == 0 ? group.size() <= size : group.size() == size;
    if (!AllDigits(group) || !fits)
      return std::nullopt;
    digits += group;
  }
  return digits;
}

// strptime's fields without the glibc "-" flag, which it does not read.
std::string WithoutFlags(std::string format) {
  for (std::size_t pos = 0; (pos = format.find("%-", pos)) != std::string::npos;)
    format.erase(pos + 1, 1);
  return format;
}

std::optional<std::tm> ReadWhole(const std::string& text, const std::string& format) {
  std::tm tm{};
  const char* end = strptime(text.c_str(), format.c_str(), &tm);
  if (end == nullptr || *end != '\0')
    return std::nullopt;
  return tm;
}

}  // namespace

std::optional<double> ParseLocaleAmount(std::string_view original) {
  const std::string blanksPlain = PlainBlanks(original);
  std::string_view text = TrimWhiteSpace(blanksPlain);
  const std::lconv* conventions = std::localeconv();
  if (!RemoveAffix(text, PlainBlanks(LocaleTextToUtf8(conventions->currency_symbol))))
    (void)RemoveAffix(text, TrimWhiteSpace(LocaleTextToUtf8(conventions->int_curr_symbol)));
  bool negative = false;
  if (text.starts_with('(') && text.ends_with(')')) {
    negative = true;
    text = TrimWhiteSpace(text.substr(1, text.size() - 2));
  }
  if (text.starts_with('-') || text.ends_with('-')) {
    negative = true;
    text = TrimWhiteSpace(text.starts_with('-') ? text.substr(1) : text.substr(0, text.size() - 1));
  }
  const NumberMarks marks = LocaleNumberMarks();
  const std::size_t point = text.find(marks.point);
  const std::string_view whole = text.substr(0, point);
  std::string number;
  if (const auto digits = UngroupedDigits(whole, marks))
    number = *digits;
  else
    return std::nullopt;
  if (point != std::string_view::npos) {
    const std::string_view fraction = text.substr(point + marks.point.size());
    if (!AllDigits(fraction))
      return std::nullopt;
    number += "." + std::string(fraction);
  }
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc() || result.ptr != number.data() + number.size())
    return std::nullopt;
  return negative ? -value : value;
}

std::string ExpectedAmountForms() {
  const NumberMarks marks = LocaleNumberMarks();
  const std::string local = "1" + marks.grouping + "234" + marks.point + "56";
  return local == "1234.56" ? local : "1234.56 or " + local;
}

// The short date with its year as `year` ('y' or 'Y').
std::string ShortDateWithYear(char year) {
  std::string format = WithoutFlags(nl_langinfo(D_FMT));
  for (std::size_t pos = 0; (pos = format.find('%', pos)) != std::string::npos; pos += 2) {
    if (pos + 1 < format.size() && (format[pos + 1] == 'y' || format[pos + 1] == 'Y'))
      format[pos + 1] = year;
  }
  return format;
}

std::optional<OleDateTime> ParseLocaleDate(std::string_view text) {
  const std::string trimmed(TrimWhiteSpace(text));
  // Two digits are tried first: "%Y" would read "26" as the year 26.
  for (const std::string& date : {ShortDateWithYear('y'), ShortDateWithYear('Y')}) {
    for (const char* time : {"", " %H:%M", " %H:%M:%S"}) {
      if (const auto tm = ReadWhole(trimmed, date + time)) {
        return OleDateTime::FromCivil(tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday, tm->tm_hour,
                                      tm->tm_min, tm->tm_sec);
      }
    }
  }
  return std::nullopt;
}

}  // namespace paylark

#include "core/exchange/csv_locale_fields.h"

#include <langinfo.h>

#include <clocale>
#include <ctime>
#include <variant>

#include "core/base/locale_amount.h"
#include "core/base/text_encoding.h"

namespace paylark {
namespace {

constexpr std::string_view kNoBreakSpace = "\u00A0";
constexpr std::string_view kNarrowNoBreakSpace = "\u202F";

// Any kind of blank as a plain one, so a currency sign is found whichever blank it stands with.
std::string PlainBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    if (text.starts_with(kNoBreakSpace) || text.starts_with(kNarrowNoBreakSpace)) {
      out += ' ';
      text.remove_prefix(text.starts_with(kNoBreakSpace) ? kNoBreakSpace.size()
                                                         : kNarrowNoBreakSpace.size());
    } else {
      out += text.front();
      text.remove_prefix(1);
    }
  }
  return out;
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
  if (text.empty() || text.find_first_of("+-") != std::string_view::npos)
    return std::nullopt;
  const auto parsed = ParseLocaleAmount(text, LocaleAmountMarks());
  if (const double* value = std::get_if<double>(&parsed))
    return negative ? -*value : *value;
  return std::nullopt;
}

std::string ExpectedAmountForms() {
  const AmountMarks marks = LocaleAmountMarks();
  const std::string local = PlainBlanks("1" + marks.grouping + "234" + marks.decimal + "56");
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

#include "core/office/xlsx_number_formats.h"

#include <langinfo.h>

#include <climits>
#include <clocale>
#include <cstring>
#include <string_view>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

// A literal of the workbook's number formats.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c != '"')
      quoted += c;
  }
  return quoted + "\"";
}

// One side of the currency format: the number with the symbol placed as the locale places it.
std::string CurrencySection(const std::string& number, const std::string& symbol, char precedes,
                            char separatedBySpace) {
  if (symbol.empty())
    return number;
  const std::string blank = separatedBySpace == 1 ? " " : "";
  return precedes == 1 ? Quoted(symbol) + blank + number : number + blank + Quoted(symbol);
}

// T_FMT_AMPM in UTF-8, the POSIX form where the locale has none.
std::string TwelveHourFormat() {
  std::string format = LocaleTextToUtf8(nl_langinfo(T_FMT_AMPM));
  return format.empty() || format.find("%r") != std::string::npos ? "%I:%M:%S %p" : format;
}

// Blanks that a left-out field leaves at an end or doubled are dropped.
std::string Tidied(const std::string& format) {
  std::string out;
  for (const char c : format) {
    if (c == ' ' && (out.empty() || out.back() == ' '))
      continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ')
    out.pop_back();
  return out;
}

// A strftime conversion in the workbook's notation; "" for one it has no form for (time zones,
// the century, which the year after it spells out in full). `padded` is false for "%-d".
std::string_view DateToken(char conversion, bool padded, bool& twelveHour) {
  switch (conversion) {
    case 'd':
      return padded ? "dd" : "d";
    case 'e':
      return "d";
    case 'm':
      return padded ? "mm" : "m";
    case 'Y':
    case 'G':
      return "yyyy";
    case 'y':
    case 'g':
      return "yy";
    case 'b':
    case 'h':
      return "mmm";
    case 'B':
      return "mmmm";
    case 'a':
      return "ddd";
    case 'A':
      return "dddd";
    case 'H':
      return padded ? "hh" : "h";
    case 'k':
      return "h";
    case 'I':
      twelveHour = true;
      return padded ? "hh" : "h";
    case 'l':
      twelveHour = true;
      return "h";
    case 'M':
      return "mm";
    case 'S':
      return "ss";
    case 'p':
    case 'P':
      twelveHour = true;
      return "AM/PM";
    case 'D':
      return "mm/dd/yy";
    case 'F':
      return "yyyy-mm-dd";
    case 'T':
      return "hh:mm:ss";
    case 'R':
      return "hh:mm";
    case 'n':
    case 't':
      return " ";
    case '%':
      return "\"%\"";
  }
  return {};
}

bool IsPlainSeparator(char c) {
  return c == ' ' || c == '/' || c == ':' || c == '-' || c == '.' || c == ',';
}

// A strftime format in UTF-8 in the workbook's notation: conversions with their flags and E or O
// modifiers become fields, runs of other characters become one quoted literal.
std::string FromStrftime(std::string_view format) {
  std::string out;
  std::string literal;
  const auto flushLiteral = [&] {
    if (!literal.empty())
      out += Quoted(literal);
    literal.clear();
  };
  bool twelveHour = false;
  bool afterCentury = false;
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != '%' || i + 1 == format.size()) {
      const std::size_t begin = i;
      (void)NextCodePoint(format, i);
      if (i == begin + 1 && IsPlainSeparator(format[begin])) {
        flushLiteral();
        out += format[begin];
      } else {
        literal.append(format, begin, i - begin);
      }
      continue;
    }
    ++i;
    bool padded = true;
    while (i < format.size() && std::strchr("-_0^#", format[i]) != nullptr)
      padded = format[i++] != '-' && padded;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9')
      ++i;
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O'))
      ++i;
    if (i == format.size())
      break;
    const char conversion = format[i++];
    flushLiteral();
    if (conversion == 'r') {
      out += FromStrftime(TwelveHourFormat());
      twelveHour = true;
    } else if (conversion == 'y' && afterCentury) {
      out += "yyyy";
    } else {
      out += DateToken(conversion, padded, twelveHour);
    }
    afterCentury = conversion == 'C';
  }
  flushLiteral();
  if (twelveHour && out.find("AM/PM") == std::string::npos)
    out += " AM/PM";
  return Tidied(out);
}

}  // namespace

std::string XlsxCurrencyFormat(int fractionDigits) {
  const std::lconv* conventions = std::localeconv();
  const std::string symbol = LocaleTextToUtf8(conventions->currency_symbol);
  const bool grouped = conventions->mon_grouping[0] > 0 && conventions->mon_grouping[0] != CHAR_MAX;
  std::string number = grouped ? "#,##0" : "0";
  if (fractionDigits > 0)
    number += "." + std::string(static_cast<std::size_t>(fractionDigits), '0');
  std::string positive =
      CurrencySection(number, symbol, conventions->p_cs_precedes, conventions->p_sep_by_space);
  const std::string negative =
      CurrencySection(number, symbol, conventions->n_cs_precedes, conventions->n_sep_by_space);
  if (symbol.empty())
    return positive;
  return positive + ";-" + negative;
}

std::string XlsxDateFormat(WithTime withTime) {
  std::string format = FromStrftime(LocaleTextToUtf8(nl_langinfo(D_FMT)));
  if (withTime == WithTime::kYes) {
    const std::string time = FromStrftime(LocaleTextToUtf8(nl_langinfo(T_FMT)));
    if (!time.empty())
      format += " " + time;
  }
  return format;
}

}  // namespace paylark

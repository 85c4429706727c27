#include "core/office/xlsx_number_formats.h"

#include <langinfo.h>

#include <climits>
#include <clocale>
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

// A strftime conversion in the workbook's notation; "" for one it has no form for.
std::string_view DateToken(char conversion, bool& twelveHour) {
  switch (conversion) {
    case 'd':
      return "dd";
    case 'e':
      return "d";
    case 'm':
      return "mm";
    case 'Y':
      return "yyyy";
    case 'y':
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
      return "hh";
    case 'I':
      twelveHour = true;
      return "hh";
    case 'M':
      return "mm";
    case 'S':
      return "ss";
    case 'p':
      twelveHour = true;
      return "AM/PM";
    case 'D':
      return "mm/dd/yy";
    case 'T':
      return "hh:mm:ss";
    case 'R':
      return "hh:mm";
    case '%':
      return "\"%\"";
  }
  return {};
}

std::string FromStrftime(std::string_view format) {
  std::string out;
  bool twelveHour = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      const char c = format[i];
      out += (c == ' ' || c == '/' || c == ':' || c == '-' || c == '.' || c == ',')
                 ? std::string(1, c)
                 : Quoted(std::string_view(&format[i], 1));
      continue;
    }
    char conversion = format[++i];
    if ((conversion == 'E' || conversion == 'O') && i + 1 < format.size())
      conversion = format[++i];
    out += DateToken(conversion, twelveHour);
  }
  if (twelveHour && out.find("AM/PM") == std::string::npos)
    out += " AM/PM";
  return out;
}

// T_FMT with "%r" and "%T" spelt out, as the other exports write times.
std::string TimeFormat() {
  std::string format = nl_langinfo(T_FMT);
  for (std::size_t pos = 0; (pos = format.find("%r", pos)) != std::string::npos;) {
    std::string ampm = nl_langinfo(T_FMT_AMPM);
    if (ampm.empty() || ampm == "%r")
      ampm = "%I:%M:%S %p";
    format.replace(pos, 2, ampm);
    pos += ampm.size();
  }
  return format;
}

}  // namespace

std::string XlsxCurrencyFormat() {
  const std::lconv* conventions = std::localeconv();
  const std::string symbol = LocaleTextToUtf8(conventions->currency_symbol);
  const bool grouped = conventions->mon_grouping[0] > 0 && conventions->mon_grouping[0] != CHAR_MAX;
  const std::string number = grouped ? "#,##0.00" : "0.00";
  const std::string positive =
      CurrencySection(number, symbol, conventions->p_cs_precedes, conventions->p_sep_by_space);
  const std::string negative =
      CurrencySection(number, symbol, conventions->n_cs_precedes, conventions->n_sep_by_space);
  if (symbol.empty())
    return positive;
  return positive + ";-" + negative;
}

std::string XlsxDateFormat(WithTime withTime) {
  std::string format = FromStrftime(nl_langinfo(D_FMT));
  if (withTime == WithTime::kYes)
    format += " " + FromStrftime(TimeFormat());
  return format;
}

}  // namespace paylark

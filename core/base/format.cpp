#include "core/base/format.h"

#include <langinfo.h>
#include <monetary.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstring>
#include <ctime>

#include "core/base/local_time.h"
#include "core/base/text_encoding.h"

namespace paylark {
namespace {

std::string Strftime(std::string_view format, const std::tm& tm) {
  if (format.empty())
    return {};
  const std::string pattern(format);
  char buffer[256];
  const std::size_t length = std::strftime(buffer, sizeof buffer, pattern.c_str(), &tm);
  return LocaleTextToUtf8(std::string_view(buffer, length));
}

// A format or other text of the locale, in the locale's character set.
std::string Langinfo(nl_item item) {
  return nl_langinfo(item);
}

// A name of the locale (month, day, AM/PM), in UTF-8.
std::string LocaleName(nl_item item) {
  return LocaleTextToUtf8(nl_langinfo(item));
}

// The locale's time format with %r and %T spelt out.
std::string ExpandedTimeFormat() {
  std::string format = Langinfo(T_FMT);
  for (std::size_t pos = 0; (pos = format.find('%', pos)) != std::string::npos;) {
    if (pos + 1 >= format.size())
      break;
    const char conversion = format[pos + 1];
    if (conversion == 'r' || conversion == 'T') {
      const std::string expansion = conversion == 'r' ? Langinfo(T_FMT_AMPM) : "%H:%M:%S";
      format.replace(pos, 2, expansion.empty() || expansion == "%r" ? "%I:%M:%S %p" : expansion);
    } else {
      pos += 2;
    }
  }
  return format;
}

// The length of the strftime conversion at `pos` (a '%'): flags, width, an E or O modifier and the
// conversion letter.
std::size_t ConversionLength(std::string_view format, std::size_t pos) {
  std::size_t end = pos + 1;
  while (end < format.size() && std::strchr("-_0^#", format[end]) != nullptr)
    ++end;
  while (end < format.size() && std::isdigit(static_cast<unsigned char>(format[end])))
    ++end;
  if (end < format.size() && (format[end] == 'E' || format[end] == 'O'))
    ++end;
  return std::min(end + 1, format.size()) - pos;
}

bool IsWordByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 || std::isalpha(byte);
}

// Drops the seconds of a time format. Where a unit word follows them ("%S秒", " %S초") the unit
// goes with them, and the blank before; otherwise the separator before them goes (":%S").
std::string WithoutSeconds(std::string format) {
  for (std::size_t pos = 0; (pos = format.find('%', pos)) != std::string::npos;) {
    const std::size_t length = ConversionLength(format, pos);
    if (format[pos + length - 1] != 'S' || length < 2) {
      pos += length;
      continue;
    }
    std::size_t start = pos;
    std::size_t end = pos + length;
    if (end < format.size() && IsWordByte(format[end])) {
      while (end < format.size() && format[end] != '%' && format[end] != ' ')
        ++end;
      while (start > 0 && format[start - 1] == ' ')
        --start;
    } else {
      while (start > 0 && !std::isalnum(static_cast<unsigned char>(format[start - 1])) &&
             format[start - 1] != '%') {
        --start;
      }
    }
    format.erase(start, end - start);
    pos = start;
  }
  return format;
}

bool PictureShowsDay(std::string_view picture) {
  bool quoted = false;
  for (std::size_t i = 0; i < picture.size(); ++i) {
    if (picture[i] == '\'')
      quoted = !quoted;
    if (quoted || picture[i] != 'd')
      continue;
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == 'd')
      ++run;
    if (run <= 2)
      return true;
    i += run - 1;
  }
  return false;
}

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value % 100);
  return text;
}

std::string Token(char letter, std::size_t run, const CivilDateTime& c, bool genitive) {
  const int hour12 = c.hour % 12 == 0 ? 12 : c.hour % 12;
  const std::string ampm = LocaleName(c.hour < 12 ? AM_STR : PM_STR);
  switch (letter) {
    case 'd':
      if (run == 1)
        return std::to_string(c.day);
      if (run == 2)
        return TwoDigits(c.day);
      return LocaleName((run == 3 ? ABDAY_1 : DAY_1) + (c.dayOfWeek - 1));
    case 'M':
      if (run == 1)
        return std::to_string(c.month);
      if (run == 2)
        return TwoDigits(c.month);
      if (run == 3)
        return LocaleName(ABMON_1 + (c.month - 1));
      return LocaleName((genitive ? MON_1 : ALTMON_1) + (c.month - 1));
    case 'y':
      if (run == 1)
        return std::to_string(c.year % 100);
      if (run == 2)
        return TwoDigits(c.year);
      return std::to_string(c.year);
    case 'h':
      return run == 1 ? std::to_string(hour12) : TwoDigits(hour12);
    case 'H':
      return run == 1 ? std::to_string(c.hour) : TwoDigits(c.hour);
    case 'm':
      return run == 1 ? std::to_string(c.minute) : TwoDigits(c.minute);
    case 's':
      return run == 1 ? std::to_string(c.second) : TwoDigits(c.second);
    case 't':
      return run == 1 ? ampm.substr(0, 1) : ampm;
  }
  return {};
}

// Renders a Windows date/time picture; letters outside the notation and quoted text stand as
// they are ('' inside quotes is one quote).
std::string RenderPicture(std::string_view picture, const OleDateTime& dateTime) {
  static constexpr std::string_view kLetters = "dMyhHmst";
  const CivilDateTime c = dateTime.ToCivil();
  const bool genitive = PictureShowsDay(picture);
  std::string out;
  for (std::size_t i = 0; i < picture.size();) {
    const char ch = picture[i];
    if (ch == '\'') {
      for (++i; i < picture.size(); ++i) {
        if (picture[i] != '\'') {
          out += picture[i];
        } else if (i + 1 < picture.size() && picture[i + 1] == '\'') {
          out += '\'';
          ++i;
        } else {
          break;
        }
      }
      ++i;
      continue;
    }
    if (kLetters.find(ch) == std::string_view::npos) {
      out += ch;
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == ch)
      ++run;
    out += Token(ch, run, c, genitive);
    i += run;
  }
  return out;
}

// Drops the seconds of a time picture together with the separator before them.
std::string PictureWithoutSeconds(std::string_view picture) {
  std::string out(picture);
  for (std::size_t pos; (pos = out.find('s')) != std::string::npos;) {
    std::size_t end = pos;
    while (end < out.size() && out[end] == 's')
      ++end;
    std::size_t start = pos;
    while (start > 0 && !std::isalpha(static_cast<unsigned char>(out[start - 1])) &&
           out[start - 1] != '\'') {
      --start;
    }
    out.erase(start, end - start);
  }
  return out;
}

}  // namespace

std::string FormatAmountNumber(double amount) {
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, amount, std::chars_format::fixed, 2);
  return std::string(text, result.ptr);
}

int LocaleFractionDigits() {
  const char digits = std::localeconv()->frac_digits;
  return digits == CHAR_MAX ? 2 : digits;
}

int AmountFractionDigits(double amount) {
  const long long cents = std::llround(std::fabs(amount) * 100.0);
  const int locale = LocaleFractionDigits();
  return cents % 100 != 0 && locale < 2 ? 2 : locale;
}

std::string FormatAmount(double amount) {
  return FormatCurrency(FormatAmountNumber(amount));
}

std::string FormatCurrency(std::string_view amountText) {
  const std::string_view trimmed = TrimWhiteSpace(amountText);
  double value = 0;
  const auto parsed = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (parsed.ec != std::errc() || parsed.ptr != trimmed.data() + trimmed.size()) {
    return std::string(trimmed);
  }
  char buffer[100];
  const bool showsCents = AmountFractionDigits(value) > LocaleFractionDigits();
  const ssize_t length = strfmon(buffer, sizeof buffer, showsCents ? "%.2n" : "%n", value);
  if (length < 0)
    return std::string(trimmed);
  return LocaleTextToUtf8(std::string_view(buffer, static_cast<std::size_t>(length)));
}

std::string FormatDate(const OleDateTime& date, std::string_view picture) {
  if (picture.empty())
    return Strftime(Langinfo(D_FMT), ToTm(date));
  return RenderPicture(picture, date);
}

std::string FormatDocumentDate(const OleDateTime& date) {
  std::string format = Langinfo(D_FMT);
  for (std::size_t pos = 0; (pos = format.find('%', pos)) != std::string::npos; pos += 2) {
    if (pos + 1 < format.size() && format[pos + 1] == 'y')
      format[pos + 1] = 'Y';
  }
  return Strftime(format, ToTm(date));
}

std::string FormatTime(const OleDateTime& time, std::string_view picture) {
  if (picture.empty())
    return Strftime(WithoutSeconds(ExpandedTimeFormat()), ToTm(time));
  return RenderPicture(PictureWithoutSeconds(picture), time);
}

std::string FormatDateTimeText(const OleDateTime& dateTime) {
  const std::tm tm = ToTm(dateTime);
  std::string text = Strftime(Langinfo(D_FMT), tm);
  if (tm.tm_hour != 0 || tm.tm_min != 0 || tm.tm_sec != 0) {
    text += ' ';
    text += Strftime(ExpandedTimeFormat(), tm);
  }
  return text;
}

std::string FormatStrftime(const OleDateTime& dateTime, std::string_view format) {
  std::string pattern(format);
  const bool showsDay =
      pattern.find("%d") != std::string::npos || pattern.find("%e") != std::string::npos;
  if (!showsDay) {
    for (std::size_t pos = 0; (pos = pattern.find("%B", pos)) != std::string::npos; pos += 3) {
      pattern.replace(pos, 2, "%OB");
    }
  }
  return Strftime(pattern, ToTm(dateTime));
}

}  // namespace paylark

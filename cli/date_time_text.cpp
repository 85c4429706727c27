#include "cli/date_time_text.h"

#include <cstdio>

namespace paylark::cli {
namespace {

// Reads exactly `digits` digits at pos.
std::optional<int> Digits(std::string_view text, std::size_t pos, std::size_t digits) {
  if (pos + digits > text.size())
    return std::nullopt;
  int value = 0;
  for (std::size_t i = pos; i < pos + digits; ++i) {
    if (text[i] < '0' || text[i] > '9')
      return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool SeparatorAt(std::string_view text, std::size_t pos, char separator) {
  return pos < text.size() && text[pos] == separator;
}

// The moment to the second. The last half second of 9999-12-31 rounds to a second past the last
// day there is: it shows as that day's last second, never as a year 10000.
CivilDateTime ShownCivil(const OleDateTime& dateTime) {
  const CivilDateTime c = dateTime.ToCivil();
  if (c.year <= OleDateTime::kMaxYear)
    return c;
  return CivilDateTime{OleDateTime::kMaxYear, 12, 31, 23, 59, 59, 6};
}

}  // namespace

std::optional<OleDateTime> ParseMonth(std::string_view text) {
  const auto year = Digits(text, 0, 4);
  const auto month = Digits(text, 5, 2);
  if (text.size() != 7 || !year || !month || !SeparatorAt(text, 4, '-'))
    return std::nullopt;
  return OleDateTime::FromCivil(*year, *month, 1);
}

std::optional<int> ParseTimeOfDay(std::string_view text) {
  const auto hour = Digits(text, 0, 2);
  const auto minute = Digits(text, 3, 2);
  if (text.size() != 5 || !hour || !minute || !SeparatorAt(text, 2, ':') || *hour > 23 ||
      *minute > 59) {
    return std::nullopt;
  }
  return *hour * 3600 + *minute * 60;
}

std::optional<OleDateTime> ParseDateTime(std::string_view text, DateOnly dateOnly) {
  const auto year = Digits(text, 0, 4);
  const auto month = Digits(text, 5, 2);
  const auto day = Digits(text, 8, 2);
  if (!year || !month || !day || !SeparatorAt(text, 4, '-') || !SeparatorAt(text, 7, '-')) {
    return std::nullopt;
  }
  if (text.size() == 10) {
    return dateOnly == DateOnly::kEndOfDay ? OleDateTime::FromCivil(*year, *month, *day, 23, 59, 59)
                                           : OleDateTime::FromCivil(*year, *month, *day);
  }
  if (!SeparatorAt(text, 10, ' ') && !SeparatorAt(text, 10, 'T'))
    return std::nullopt;
  const auto hour = Digits(text, 11, 2);
  const auto minute = Digits(text, 14, 2);
  if (!hour || !minute || !SeparatorAt(text, 13, ':'))
    return std::nullopt;
  int second = 0;
  if (text.size() == 19 && SeparatorAt(text, 16, ':')) {
    const auto seconds = Digits(text, 17, 2);
    if (!seconds)
      return std::nullopt;
    second = *seconds;
  } else if (text.size() != 16) {
    return std::nullopt;
  }
  return OleDateTime::FromCivil(*year, *month, *day, *hour, *minute, second);
}

std::string IsoDateTime(const OleDateTime& dateTime) {
  const CivilDateTime c = ShownCivil(dateTime);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                c.minute, c.second);
  return text;
}

std::string ListDateTime(const OleDateTime& dateTime) {
  const CivilDateTime c = ShownCivil(dateTime);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", c.year, c.month, c.day, c.hour,
                c.minute);
  return text;
}

std::string MonthText(const OleDateTime& month) {
  const CivilDateTime c = ShownCivil(month);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d", c.year, c.month);
  return text;
}

}  // namespace paylark::cli

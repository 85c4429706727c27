#include "core/base/ole_date_time.h"

#include <cmath>

namespace paylark {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 to 1899-12-30.
constexpr std::int64_t kOleEpochFromUnix = -25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0)))
    --q;
  return q;
}

// Splits a stored value into its day number and the seconds into that day.
void SplitValue(double value, std::int64_t& day, std::int64_t& seconds) {
  if (!OleDateTime::InRange(value))
    value = 0;
  const double whole = std::trunc(value);
  const double fraction = std::fabs(value - whole);
  day = static_cast<std::int64_t>(whole);
  // round() rounds as llround() does, and is the quicker of the two in glibc.
  seconds = static_cast<std::int64_t>(std::round(fraction * kSecondsPerDay));
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++day;
  }
}

double JoinValue(std::int64_t day, std::int64_t seconds) {
  const double fraction = static_cast<double>(seconds) / kSecondsPerDay;
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

}  // namespace

int DaysInCivilMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
  }
  return kDays[(month - 1) % 12];
}

std::optional<OleDateTime> OleDateTime::FromCivil(int year, int month, int day, int hour,
                                                  int minute, int second) {
  if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
      day > DaysInCivilMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59) {
    return std::nullopt;
  }
  const std::int64_t days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
      kOleEpochFromUnix;
  return OleDateTime(JoinValue(days, hour * 3600 + minute * 60 + second));
}

std::optional<OleDateTime> OleDateTime::FromLinearSeconds(std::int64_t seconds) {
  const std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
  const std::int64_t inDay = seconds - day * kSecondsPerDay;
  int y = 0, m = 0, d = 0;
  CivilFromDays(day + kOleEpochFromUnix, y, m, d);
  if (y < kMinYear || y > kMaxYear)
    return std::nullopt;
  return OleDateTime(JoinValue(day, inDay));
}

CivilDateTime OleDateTime::ToCivil() const {
  std::int64_t day = 0, seconds = 0;
  SplitValue(value_, day, seconds);
  CivilDateTime civil;
  const std::int64_t unixDay = day + kOleEpochFromUnix;
  CivilFromDays(unixDay, civil.year, civil.month, civil.day);
  civil.hour = static_cast<int>(seconds / 3600);
  civil.minute = static_cast<int>(seconds / 60 % 60);
  civil.second = static_cast<int>(seconds % 60);
  // 1970-01-01 was a Thursday (5 when Sunday is 1).
  civil.dayOfWeek = static_cast<int>(((unixDay % 7) + 7 + 4) % 7) + 1;
  return civil;
}

std::int64_t OleDateTime::LinearSeconds() const {
  std::int64_t day = 0, seconds = 0;
  SplitValue(value_, day, seconds);
  return day * kSecondsPerDay + seconds;
}

std::optional<OleDateTime> OleDateTime::AddDays(std::int64_t days) const {
  return AddSeconds(days * kSecondsPerDay);
}

std::optional<OleDateTime> OleDateTime::AddSeconds(std::int64_t seconds) const {
  return FromLinearSeconds(LinearSeconds() + seconds);
}

OleDateTime OleDateTime::DateOnly() const {
  std::int64_t day = 0, seconds = 0;
  SplitValue(value_, day, seconds);
  return OleDateTime(static_cast<double>(day), status_);
}

std::partial_ordering OleDateTime::operator<=>(const OleDateTime& other) const {
  auto linear = [](double v) {
    const double whole = std::trunc(v);
    return whole + std::fabs(v - whole);
  };
  return linear(value_) <=> linear(other.value_);
}

int CompareMonth(const OleDateTime& a, const OleDateTime& b) {
  const CivilDateTime x = a.ToCivil();
  const CivilDateTime y = b.ToCivil();
  if (x.year != y.year)
    return x.year < y.year ? -1 : 1;
  if (x.month != y.month)
    return x.month < y.month ? -1 : 1;
  return 0;
}

}  // namespace paylark

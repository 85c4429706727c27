#pragma once

#include <compare>
#include <cstdint>
#include <optional>

namespace paylark {

struct CivilDateTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int dayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday

  bool operator==(const CivilDateTime&) const = default;
};

// A local wall-clock date and time stored as days since 1899-12-30 00:00 (the fraction being
// the time of day) plus a status. Negative values count days backwards while the fraction still
// moves forward within the day: -1.25 is 1899-12-29 06:00. Stored doubles are kept bit for bit
// until the value is changed. Valid for the years 100 to 9999.
class OleDateTime {
 public:
  enum class Status : std::int32_t { kValid = 0, kInvalid = 1, kNull = 2 };

  static constexpr int kMinYear = 100;
  static constexpr int kMaxYear = 9999;
  static constexpr double kFirstDay = -657434;  // 0100-01-01
  static constexpr double kLastDay = 2958465;   // 9999-12-31

  constexpr OleDateTime() = default;
  constexpr explicit OleDateTime(double value, Status status = Status::kValid)
      : value_(value), status_(status) {}

  // Empty when the date does not exist or lies outside the years 100 to 9999.
  static std::optional<OleDateTime> FromCivil(int year, int month, int day, int hour = 0,
                                              int minute = 0, int second = 0);
  // Whole seconds since 1899-12-30 00:00 on a straight time line (negative before it).
  static std::optional<OleDateTime> FromLinearSeconds(std::int64_t seconds);

  double value() const { return value_; }
  Status status() const { return status_; }
  // A value outside the years 100 to 9999 (or not a number) is invalid whatever its status says,
  // and is never converted: ToCivil and LinearSeconds treat it as 1899-12-30 00:00.
  bool IsValid() const { return status_ == Status::kValid && InRange(value_); }
  static bool InRange(double value) { return value > kFirstDay - 1 && value < kLastDay + 1; }

  // The calendar date and time, rounded to the nearest second.
  CivilDateTime ToCivil() const;
  std::int64_t LinearSeconds() const;
  int DayOfWeek() const { return ToCivil().dayOfWeek; }

  // Whole-day and span arithmetic; empty when the result leaves the valid range.
  std::optional<OleDateTime> AddDays(std::int64_t days) const;
  std::optional<OleDateTime> AddSeconds(std::int64_t seconds) const;
  // The same day at 00:00:00.
  OleDateTime DateOnly() const;

  // Compares points in time (so -1.25 is later than -1.0).
  std::partial_ordering operator<=>(const OleDateTime& other) const;
  bool operator==(const OleDateTime& other) const {
    return status_ == other.status_ && value_ == other.value_;
  }

 private:
  double value_ = 0.0;
  Status status_ = Status::kValid;
};

// Compares the year and then the month of two date-times: -1, 0 or +1.
int CompareMonth(const OleDateTime& a, const OleDateTime& b);

// 28..31 for a month 1..12 of a Gregorian year.
int DaysInCivilMonth(int year, int month);

}  // namespace paylark

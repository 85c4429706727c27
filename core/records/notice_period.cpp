#include "core/records/notice_period.h"

#include <algorithm>
#include <cctype>

#include "core/base/format.h"

namespace paylark {
namespace {

constexpr std::string_view kReminderDatePicture = "d MMM yyyy";

std::optional<OleDateTime> MonthsBefore(const OleDateTime& renewal, std::int64_t months) {
  const CivilDateTime civil = renewal.ToCivil();
  const bool monthEnd = civil.day == DaysInCivilMonth(civil.year, civil.month);
  const std::int64_t index = std::int64_t{civil.year} * 12 + (civil.month - 1) - months;
  if (index < std::int64_t{OleDateTime::kMinYear} * 12)
    return std::nullopt;
  const int year = static_cast<int>(index / 12);
  const int month = static_cast<int>(index % 12) + 1;
  const int last = DaysInCivilMonth(year, month);
  return OleDateTime::FromCivil(year, month, monthEnd || civil.day > last ? last : civil.day);
}

// The same day a year on; 29 Feb becomes 28 Feb.
std::optional<OleDateTime> YearOn(const OleDateTime& date) {
  const CivilDateTime civil = date.ToCivil();
  const int day = std::min(civil.day, DaysInCivilMonth(civil.year + 1, civil.month));
  return OleDateTime::FromCivil(civil.year + 1, civil.month, day);
}

}  // namespace

std::optional<OleDateTime> NoticeBefore(const OleDateTime& renewal, const NoticePeriod& period) {
  const OleDateTime day = renewal.DateOnly();
  switch (period.unit) {
    case NoticeUnit::kNone:
      return day;
    case NoticeUnit::kDays:
      return day.AddDays(-std::int64_t{period.count});
    case NoticeUnit::kWeeks:
      return day.AddDays(-7 * std::int64_t{period.count});
    case NoticeUnit::kMonths:
      return MonthsBefore(day, period.count);
  }
  return std::nullopt;
}

std::optional<CancelBy> NextCancelBy(const DueRecord& record, const OleDateTime& today) {
  if (!record.renewsOn || !record.renewsOn->IsValid())
    return std::nullopt;
  const OleDateTime day = today.DateOnly();
  OleDateTime renewal = record.renewsOn->DateOnly();
  while (renewal < day) {
    const std::optional<OleDateTime> next = YearOn(renewal);
    if (!next)
      return std::nullopt;
    renewal = *next;
  }
  const std::optional<OleDateTime> notice = NoticeBefore(renewal, record.noticePeriod);
  if (!notice || *notice < day)
    return CancelBy{day, renewal, true};
  return CancelBy{*notice, renewal, false};
}

std::string CancelByText(const CancelBy& cancelBy) {
  return cancelBy.now ? "Cancel now"
                      : "Cancel by " + FormatDate(cancelBy.date, kReminderDatePicture);
}

std::string CancelReminderText(std::string_view title, const CancelBy& cancelBy) {
  const std::string when =
      cancelBy.now ? " now" : " by " + FormatDate(cancelBy.date, kReminderDatePicture);
  return "Cancel " + std::string(title) + when + ", or it renews on " +
         FormatDate(cancelBy.renewsOn, kReminderDatePicture);
}

std::string_view NoticeUnitName(NoticeUnit unit) {
  switch (unit) {
    case NoticeUnit::kDays:
      return "days";
    case NoticeUnit::kWeeks:
      return "weeks";
    case NoticeUnit::kMonths:
      return "months";
    case NoticeUnit::kNone:
      break;
  }
  return {};
}

std::optional<NoticeUnit> NoticeUnitNamed(std::string_view name) {
  std::string lower;
  for (const char c : name)
    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const NoticeUnit unit : {NoticeUnit::kDays, NoticeUnit::kWeeks, NoticeUnit::kMonths}) {
    const std::string_view plural = NoticeUnitName(unit);
    if (lower == plural || lower == plural.substr(0, plural.size() - 1))
      return unit;
  }
  return std::nullopt;
}

}  // namespace paylark

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"

namespace paylark {

// When a contract must be cancelled so that it does not renew.
struct CancelBy {
  OleDateTime date;      // 00:00 of the last day to cancel on
  OleDateTime renewsOn;  // 00:00 of the renewal it avoids
  bool now = false;      // the notice is longer than what remains: the date is today
};

// The day `period` before `renewal`. Months count calendar months: a renewal on a month's last
// day needs notice by the last day of the earlier month (31 Mar less a month is 28 or 29 Feb,
// 30 Apr less a month is 31 Mar), any other day the same day or the month's last if shorter.
// Empty where the result leaves the calendar.
std::optional<OleDateTime> NoticeBefore(const OleDateTime& renewal, const NoticePeriod& period);

// The due's next cancel-by date seen on `today`: a renewal that has passed renews the contract
// for a year, so the next one is a year on, and so is its cancel-by date. Empty for a due without
// a renewal date.
std::optional<CancelBy> NextCancelBy(const DueRecord& record, const OleDateTime& today);

// "Cancel by 30 Sep 2026", or "Cancel now".
std::string CancelByText(const CancelBy& cancelBy);
// "Cancel Gym by 30 Sep 2026, or it renews on 31 Dec 2026" ("Cancel Gym now, or ...").
std::string CancelReminderText(std::string_view title, const CancelBy& cancelBy);

// "days", "weeks" or "months"; empty for no unit.
std::string_view NoticeUnitName(NoticeUnit unit);
// The unit named so ("day" or "days", any letter case); empty for another word.
std::optional<NoticeUnit> NoticeUnitNamed(std::string_view name);

}  // namespace paylark

#include "core/reminders/reminder_wording.h"

#include <cstddef>

#include "core/base/format.h"

namespace paylark {
namespace {

constexpr std::size_t kBodyLines = 5;
constexpr const char* kDash = " \u2013 ";

}  // namespace

std::string WhenText(const Reminder& reminder) {
  switch (reminder.state) {
    case DueState::kOverdue:
      return "overdue";
    case DueState::kToday:
      return "today";
    case DueState::kPaid:
    case DueState::kLater:
      break;
  }
  if (reminder.daysFromToday == 1)
    return "in 1 day";
  return "in " + std::to_string(reminder.daysFromToday) + " days";
}

std::string NotificationSummary(const std::vector<Reminder>& reminders) {
  if (reminders.size() != 1)
    return std::to_string(reminders.size()) + " dues need paying";
  const Reminder& reminder = reminders.front();
  if (reminder.state == DueState::kOverdue)
    return reminder.record.title + " is overdue";
  return reminder.record.title + " is due " + WhenText(reminder);
}

std::string NotificationBody(const std::vector<Reminder>& reminders) {
  std::string body;
  for (std::size_t i = 0; i < reminders.size() && i < kBodyLines; ++i) {
    const Reminder& reminder = reminders[i];
    if (i > 0)
      body += '\n';
    body += reminder.record.title + kDash + FormatAmount(reminder.record.amount) + kDash +
            WhenText(reminder);
  }
  if (reminders.size() > kBodyLines)
    body += "\nand " + std::to_string(reminders.size() - kBodyLines) + " more";
  return body;
}

std::string ReminderCountText(const ReminderCounts& counts) {
  return std::to_string(counts.overdue) + " overdue \u00b7 " + std::to_string(counts.dueSoon) +
         " due soon";
}

}  // namespace paylark

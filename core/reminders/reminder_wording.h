#pragma once

#include <string>
#include <vector>

#include "core/reminders/reminder_selection.h"

namespace paylark {

// "overdue" where the list paints the due red, "today" where it paints it blue, else "in 1 day"
// or "in N days" (calendar days from today).
std::string WhenText(const Reminder& reminder);

// For one due "<title> is due today", "<title> is overdue" or "<title> is due in N days"; for
// several "N dues need paying". The list must not be empty.
std::string NotificationSummary(const std::vector<Reminder>& reminders);
// Up to five lines "<title> – <amount> – <when>", then "and N more" for the rest.
std::string NotificationBody(const std::vector<Reminder>& reminders);

// "N overdue · M due soon", as the window's caption strip shows it.
std::string ReminderCountText(const ReminderCounts& counts);

}  // namespace paylark

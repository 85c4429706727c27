#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace paylark {

// One notification for org.freedesktop.Notifications. actions are (key, label) pairs.
struct Notification {
  std::string summary;
  std::string body;  // plain text; escaped here for servers that read markup
  std::vector<std::pair<std::string, std::string>> actions;
  bool critical = false;       // urgency 2, else 1
  std::uint32_t replaces = 0;  // a notification this one takes the place of, 0 for none
};

enum class NotificationOutcome { kAction, kClosed, kNoAnswer, kNoBus, kNoServer };

struct NotificationAnswer {
  NotificationOutcome outcome = NotificationOutcome::kNoAnswer;
  std::string action;    // the key the user chose, for kAction
  std::string detail;    // why the server could not be reached, for kNoServer
  std::uint32_t id = 0;  // the server's ID for the notification, 0 when none was shown
};

// Shows the notification as "Paylark" with the application's icon and desktop entry, then waits
// up to waitSeconds for the user to choose an action or close it; a notification still open
// when the wait ends is withdrawn, and so is one whose action was chosen (its buttons would do
// nothing more). Needs a QCoreApplication.
NotificationAnswer ShowNotification(const Notification& notification, int waitSeconds);

}  // namespace paylark

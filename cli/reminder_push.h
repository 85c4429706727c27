#pragma once

#include <string>

#include "core/base/status.h"

namespace paylark::cli {

// What became of posting a reminder to the push service.
struct PushOutcome {
  bool attempted = false;  // false when no Reminders/PushUrl is set
  Status status;
};

// Posts the notification's title and body to Reminders/PushUrl when one is set, with the token
// from Reminders/PushTokenFile (mode 0600) or the secret service; without either, no token is
// sent. Needs a QCoreApplication.
PushOutcome PushReminder(const std::string& title, const std::string& body, bool urgent);

}  // namespace paylark::cli

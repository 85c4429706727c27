#pragma once

#include <QString>
#include <chrono>

#include "core/base/status.h"

namespace paylark {

struct PushMessage {
  QString title;
  QString body;
  bool urgent = false;  // an overdue due: the phone's high priority
};

// Posts the message for a phone's push app: to an ntfy topic URL ("https://ntfy.sh/bills",
// published as JSON to the server with the topic named) or a Gotify "/message" URL. The token,
// when given, goes as ntfy's bearer token or Gotify's application key; never in the URL.
Status PostPush(const QString& url, const QString& token, const PushMessage& message,
                std::chrono::milliseconds timeout);

}  // namespace paylark

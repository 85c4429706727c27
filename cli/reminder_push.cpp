#include "cli/reminder_push.h"

#include "remote/push_notifier.h"
#include "remote/secret_store.h"
#include "settings/user_settings.h"

namespace paylark::cli {
namespace {

constexpr std::chrono::seconds kPushTimeout{20};

// The token file's when one is named (a file others may read is refused), else the secret
// service's, else none: a public ntfy topic needs none.
Result<QString> PushToken(const QString& url) {
  const QString file = UserSettings::Read(settings::kPushTokenFile);
  if (!file.isEmpty())
    return ReadSecret({file, {}});
  const Result<QString> stored = ReadSecret({{}, PushSecretKey(url)});
  return stored.ok() ? stored.value() : QString();
}

}  // namespace

PushOutcome PushReminder(const std::string& title, const std::string& body, bool urgent) {
  const QString url = UserSettings::Read(settings::kPushUrl);
  if (url.isEmpty())
    return {};
  const Result<QString> token = PushToken(url);
  if (!token.ok())
    return {true, token.status()};
  const PushMessage message{QString::fromStdString(title), QString::fromStdString(body), urgent};
  return {true, PostPush(url, token.value(), message, kPushTimeout)};
}

}  // namespace paylark::cli

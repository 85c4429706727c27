#include "remote/calendar_sync.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/exchange/caldav_state.h"
#include "remote/caldav_client.h"

namespace paylark {
namespace {

QString StatePath(const CalendarSyncRequest& request, const QUrl& collection) {
  const QByteArray key = (request.user + QLatin1Char('\n') + collection.toString()).toUtf8();
  const QString hash = QString::fromLatin1(
      QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
  return request.stateFolder + QStringLiteral("/caldav-") + hash + QStringLiteral(".state");
}

CalDavState ReadState(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return ParseCalDavState(file.readAll().toStdString());
}

void WriteState(const QString& path, const CalDavState& state) {
  QDir().mkpath(QFileInfo(path).path());
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(QByteArray::fromStdString(SerializeCalDavState(state)));
    (void)file.commit();  // Losing it costs only a slower next sync.
  }
}

// What is known after the listing: Paylark's events with the ETags listed, and what they hold
// where the ETag is still the one known before.
CalDavState StateAfterListing(const CalDavListing& listing, const CalDavState& before) {
  CalDavState state;
  state.syncToken = listing.syncToken;
  for (const auto& [name, etag] : listing.events) {
    if (!IsPaylarkEventName(name))
      continue;
    const auto known = before.events.find(name);
    const bool ours =
        known != before.events.end() && (known->second.etag.empty() || known->second.etag == etag);
    state.events[name] = {etag, ours ? known->second.fingerprint : std::string()};
  }
  return state;
}

}  // namespace

namespace {

// The collection's events as they are now: listed (by the token when there is one), and those
// written elsewhere (a phone, another computer sharing the records) read, so that only those
// that differ from their dues are written again.
Result<CalDavState> CurrentState(CalDavClient& client, const CalDavCollection& collection,
                                 const CalDavState& before) {
  CalDavListing known{{}, before.syncToken};
  for (const auto& [name, event] : before.events)
    known.events[name] = event.etag;
  PAYLARK_TRY_ASSIGN(const CalDavListing listing, client.List(collection, std::move(known)));
  CalDavState state = StateAfterListing(listing, before);
  std::vector<std::string> unknown;
  for (const auto& [name, event] : state.events) {
    if (event.fingerprint.empty())
      unknown.push_back(name);
  }
  if (!unknown.empty()) {
    PAYLARK_TRY_ASSIGN(const auto fetched, client.Fetch(collection, unknown));
    for (const auto& [name, event] : fetched)
      state.events[name] = event;
  }
  return state;
}

// Sends the plan's changes one by one, keeping what the server answered in state.
void Send(CalDavClient& client, const CalDavCollection& collection, const CalDavPlan& plan,
          const CalendarSyncRequest& request, CalDavState& state, CalendarSyncReport& report) {
  for (const CalDavAction& action : plan.actions) {
    if (request.stop && *request.stop)
      break;
    const bool removal = action.change == CalDavChange::kRemove;
    if (request.mode == SyncMode::kDryRun) {
      ++(removal ? report.deleted : report.put);
      continue;
    }
    const CalDavOutcome outcome = client.Apply(collection, action);
    if (!outcome.status.ok()) {
      report.errors.append(QString::fromStdString(action.name) + QStringLiteral(": ") +
                           QString::fromStdString(outcome.status.message()));
      if (outcome.httpStatus == 0 || outcome.httpStatus == 401)
        break;  // the server went away or stopped taking the user: the rest would fail alike
      continue;
    }
    if (removal) {
      state.events.erase(action.name);
      ++report.deleted;
    } else {
      state.events[action.name] = {outcome.etag, action.event->fingerprint};
      ++report.put;
    }
  }
}

}  // namespace

CalendarSyncReport SyncCalendar(const std::vector<CalDavEvent>& wanted,
                                const CalendarSyncRequest& request) {
  CalendarSyncReport report;
  const QUrl given = QUrl::fromUserInput(request.url);
  if (request.url.isEmpty() || !given.isValid() ||
      (given.scheme() != QLatin1String("http") && given.scheme() != QLatin1String("https"))) {
    report.failure =
        QStringLiteral("No calendar server is set: give its address (http:// or https://).");
    return report;
  }
  DavHttp http(request.user, request.password, request.timeout);
  CalDavClient client(http);
  const Result<CalDavCollection> collection = client.Discover(
      given, request.mode == SyncMode::kDryRun ? MissingCalendar::kLeave : MissingCalendar::kMake);
  if (!collection.ok()) {
    report.failure = QString::fromStdString(collection.status().message());
    return report;
  }
  report.collection = collection.value().url.toString();
  if (!collection.value().exists) {
    report.put = static_cast<int>(wanted.size());
    return report;
  }
  const QString statePath = StatePath(request, collection.value().url);
  Result<CalDavState> state = CurrentState(client, collection.value(), ReadState(statePath));
  if (!state.ok()) {
    report.failure = QString::fromStdString(state.status().message());
    return report;
  }
  std::map<std::string, std::string> etags;
  for (const auto& [name, event] : state.value().events)
    etags[name] = event.etag;
  const CalDavPlan plan = PlanCalDavSync(wanted, etags, state.value());
  report.unchanged = plan.unchanged;
  Send(client, collection.value(), plan, request, state.value(), report);
  if (request.mode == SyncMode::kSend)
    WriteState(statePath, state.value());
  return report;
}

}  // namespace paylark

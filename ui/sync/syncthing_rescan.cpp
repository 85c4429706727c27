#include "ui/sync/syncthing_rescan.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace paylark {
namespace {

constexpr int kPollMilliseconds = 250;
constexpr int kMostPolls = 120;  // 30 seconds of syncing; later changes reach the folder watch
// A scan answers when it is done, which takes a while on a large folder.
constexpr int kScanTimeoutMilliseconds = 120 * 1000;
constexpr int kStatusTimeoutMilliseconds = 10 * 1000;

}  // namespace

SyncthingRescan::SyncthingRescan(QObject* parent) : QObject(parent) {
  poll_.setSingleShot(true);
  poll_.setInterval(kPollMilliseconds);
  connect(&poll_, &QTimer::timeout, this, &SyncthingRescan::AskStatus);
}

void SyncthingRescan::Start(const SyncthingFolder& folder) {
  folder_ = folder;
  polls_ = 0;
  running_ = true;
  SendSyncthingRequest(folder_, QStringLiteral("/rest/db/scan"), "POST", kScanTimeoutMilliseconds,
                       this, [this](const SyncthingReply& reply) { Scanned(reply); });
}

void SyncthingRescan::Scanned(const SyncthingReply& reply) {
  if (reply.notRunning)
    Finish(Outcome::kNotRunning);
  else if (!reply.failure.isEmpty())
    Finish(Outcome::kFailed, reply.failure);
  else
    AskStatus();
}

void SyncthingRescan::AskStatus() {
  SendSyncthingRequest(folder_, QStringLiteral("/rest/db/status"), "GET",
                       kStatusTimeoutMilliseconds, this,
                       [this](const SyncthingReply& reply) { StatusArrived(reply); });
}

void SyncthingRescan::StatusArrived(const SyncthingReply& reply) {
  if (!reply.failure.isEmpty()) {
    Finish(Outcome::kFailed, reply.failure);
    return;
  }
  const QJsonObject status = QJsonDocument::fromJson(reply.body).object();
  if (status.value(QStringLiteral("state")).toString() == QLatin1String("idle") ||
      ++polls_ >= kMostPolls) {
    Finish(Outcome::kIdle);
  } else {
    poll_.start();
  }
}

void SyncthingRescan::Finish(Outcome outcome, const QString& problem) {
  running_ = false;
  emit Finished(outcome, problem);
}

}  // namespace paylark

#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "remote/calendar_sync.h"

namespace paylark {

class PaylarkApp;

// What the user set for the CalDAV calendar (Preferences > Calendar); the password is not here.
struct CalDavSettings {
  bool keep = false;
  QString url;
  QString user;
  QString passwordFile;

  static CalDavSettings Read();
  void Write() const;
};

// Keeps the CalDAV calendar in step with the dues while the window is open: changes gathered for
// a few seconds go out as one sync on a worker thread, so the window never waits on the
// network. A server that cannot be reached is tried again later; the first failure is told once
// (statusMessage), and again only after a success.
class CalDavKeeper final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kBatchMilliseconds = 3000;
  static constexpr int kRetryMilliseconds = 5 * 60 * 1000;

  explicit CalDavKeeper(PaylarkApp& app, QObject* parent = nullptr);
  ~CalDavKeeper() override;

  // Syncs after kBatchMilliseconds without a further change, when the calendar is kept.
  void ScheduleSync();
  // Reads the server (a dry run) with the given settings and hands the report to done, without
  // waiting for it. An empty typedPassword means the stored one.
  void TestConnection(const CalDavSettings& settings, const QString& typedPassword,
                      std::function<void(const CalendarSyncReport&)> done);
  // Keeps the settings, and a typed password in the secret service (unless a password file is
  // named), then syncs soon. A secret service that cannot take it is told (statusMessage).
  void Save(const CalDavSettings& settings, const QString& typedPassword);
  bool busy() const { return watcher_.isRunning(); }

  // "Last sync: <time>, <result>" as the preferences show it, or "Not synced yet."
  static QString LastSyncText();
  // What "Test connection" found, in a sentence.
  static QString ConnectionTestText(const CalendarSyncReport& report);

 signals:
  void statusMessage(const QString& message);
  void synced(const CalendarSyncReport& report);

 private:
  void Start();
  void Run(const QString& password);
  void RunTest(const CalendarSyncRequest& request,
               std::function<void(const CalendarSyncReport&)> done);
  void Finished();
  CalendarSyncRequest RequestFor(const CalDavSettings& settings, const QString& password,
                                 SyncMode mode) const;

  PaylarkApp& app_;
  QTimer batch_;
  QTimer retry_;
  QFutureWatcher<CalendarSyncReport> watcher_;
  std::optional<QString> password_;
  std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
  bool again_ = false;  // a change came while a sync ran
  bool failureTold_ = false;
};

}  // namespace paylark

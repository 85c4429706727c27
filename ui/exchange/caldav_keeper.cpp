#include "ui/exchange/caldav_keeper.h"

#include <QDateTime>
#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>

#include "core/base/format.h"
#include "core/exchange/caldav_plan.h"
#include "core/exchange/calendar_feed.h"
#include "core/io/user_folders.h"
#include "remote/secret_store.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"

namespace paylark {
namespace {

QString ResultText(const CalendarSyncReport& report) {
  if (!report.failure.isEmpty())
    return report.failure;
  if (!report.errors.isEmpty())
    return QStringLiteral("%1 events were refused: %2")
        .arg(report.errors.size())
        .arg(report.errors.front());
  return QStringLiteral("%1 written, %2 removed, %3 unchanged")
      .arg(report.put)
      .arg(report.deleted)
      .arg(report.unchanged);
}

CalendarSyncReport Unavailable(const QString& why) {
  CalendarSyncReport report;
  report.failure = why;
  return report;
}

}  // namespace

CalDavSettings CalDavSettings::Read() {
  return {UserSettings::Read(settings::kKeepCalDav), UserSettings::Read(settings::kCalDavUrl),
          UserSettings::Read(settings::kCalDavUser),
          UserSettings::Read(settings::kCalDavPasswordFile)};
}

void CalDavSettings::Write() const {
  UserSettings::Write(settings::kKeepCalDav, keep);
  UserSettings::Write(settings::kCalDavUrl, url);
  UserSettings::Write(settings::kCalDavUser, user);
  UserSettings::Write(settings::kCalDavPasswordFile, passwordFile);
}

CalDavKeeper::CalDavKeeper(PaylarkApp& app, QObject* parent) : QObject(parent), app_(app) {
  batch_.setSingleShot(true);
  batch_.setInterval(kBatchMilliseconds);
  retry_.setSingleShot(true);
  retry_.setInterval(kRetryMilliseconds);
  connect(&batch_, &QTimer::timeout, this, &CalDavKeeper::Start);
  connect(&retry_, &QTimer::timeout, this, &CalDavKeeper::Start);
  connect(&watcher_, &QFutureWatcher<CalendarSyncReport>::finished, this, &CalDavKeeper::Finished);
}

CalDavKeeper::~CalDavKeeper() {
  // The worker stops before its next request; the one under way ends within its timeout.
  *stop_ = true;
  watcher_.waitForFinished();
}

void CalDavKeeper::ScheduleSync() {
  if (CalDavSettings::Read().keep && !app_.workingDirectory().empty())
    batch_.start();
}

CalendarSyncRequest CalDavKeeper::RequestFor(const CalDavSettings& settings,
                                             const QString& password, SyncMode mode) const {
  CalendarSyncRequest request;
  request.url = settings.url;
  request.user = settings.user;
  request.password = password;
  request.mode = mode;
  request.stateFolder = QString::fromStdString(UserCacheFolder());
  request.stop = stop_;
  return request;
}

void CalDavKeeper::Start() {
  const CalDavSettings settings = CalDavSettings::Read();
  if (!settings.keep)
    return;
  if (watcher_.isRunning()) {
    again_ = true;
    return;
  }
  if (password_ || settings.user.isEmpty()) {
    Run(password_.value_or(QString()));
    return;
  }
  ReadSecretLater({settings.passwordFile, CalDavSecretKey(settings.url, settings.user)}, this,
                  [this](const Result<QString>& password) {
                    if (!password.ok()) {
                      watcher_.setFuture(QtConcurrent::run(
                          Unavailable, QString::fromStdString(password.status().message())));
                      return;
                    }
                    password_ = password.value();
                    Run(*password_);
                  });
}

void CalDavKeeper::Run(const QString& password) {
  if (watcher_.isRunning()) {
    again_ = true;
    return;
  }
  const OleDateTime now = app_.clock().Now();
  const CalendarOptions options{now, UserSettings::Read(settings::kReminderDaysAhead),
                                AlarmStyle::kBeforeAndAtDueTime};
  // The dues are copied here; the events are written and sent on the worker.
  std::vector<DueRecord> dues = CalendarFeedDues(app_.store(), now);
  const CalendarSyncRequest request = RequestFor(CalDavSettings::Read(), password, SyncMode::kSend);
  watcher_.setFuture(QtConcurrent::run([dues = std::move(dues), options, request] {
    return SyncCalendar(CalDavEvents(dues, options), request);
  }));
}

void CalDavKeeper::Finished() {
  const CalendarSyncReport report = watcher_.result();
  const QString when =
      QString::fromStdString(FormatStrftime(app_.clock().Now(), "%Y-%m-%dT%H:%M:%S"));
  UserSettings::Write(settings::kCalDavLastSync, when + QLatin1Char('\t') + ResultText(report));
  if (!report.failure.isEmpty()) {
    if (!failureTold_) {
      emit statusMessage(QStringLiteral("The calendar could not be brought up to date: %1 "
                                        "Paylark tries again in a few minutes.")
                             .arg(report.failure));
    }
    failureTold_ = true;
    password_.reset();
    retry_.start();
  } else {
    failureTold_ = false;
    retry_.stop();
  }
  emit synced(report);
  if (again_) {
    again_ = false;
    batch_.start();
  }
}

void CalDavKeeper::RunTest(const CalendarSyncRequest& request,
                           std::function<void(const CalendarSyncReport&)> done) {
  auto* watcher = new QFutureWatcher<CalendarSyncReport>(this);
  connect(watcher, &QFutureWatcher<CalendarSyncReport>::finished, this,
          [watcher, done = std::move(done)] {
            done(watcher->result());
            watcher->deleteLater();
          });
  const OleDateTime now = app_.clock().Now();
  const CalendarOptions options{now, UserSettings::Read(settings::kReminderDaysAhead),
                                AlarmStyle::kBeforeAndAtDueTime};
  std::vector<DueRecord> dues = CalendarFeedDues(app_.store(), now);
  watcher->setFuture(QtConcurrent::run([dues = std::move(dues), options, request] {
    return SyncCalendar(CalDavEvents(dues, options), request);
  }));
}

void CalDavKeeper::TestConnection(const CalDavSettings& settings, const QString& typedPassword,
                                  std::function<void(const CalendarSyncReport&)> done) {
  if (!typedPassword.isEmpty() || settings.user.isEmpty()) {
    RunTest(RequestFor(settings, typedPassword, SyncMode::kDryRun), std::move(done));
    return;
  }
  ReadSecretLater({settings.passwordFile, CalDavSecretKey(settings.url, settings.user)}, this,
                  [this, settings, done](const Result<QString>& password) {
                    if (!password.ok())
                      done(Unavailable(QString::fromStdString(password.status().message())));
                    else
                      RunTest(RequestFor(settings, password.value(), SyncMode::kDryRun), done);
                  });
}

void CalDavKeeper::Save(const CalDavSettings& settings, const QString& typedPassword) {
  settings.Write();
  password_.reset();
  failureTold_ = false;
  if (typedPassword.isEmpty() || !settings.passwordFile.isEmpty()) {
    ScheduleSync();
    return;
  }
  password_ = typedPassword;
  StoreSecretLater(CalDavSecretKey(settings.url, settings.user), typedPassword, this,
                   [this](const Status& stored) {
                     if (!stored.ok())
                       emit statusMessage(QString::fromStdString(stored.message()));
                     ScheduleSync();
                   });
}

QString CalDavKeeper::ConnectionTestText(const CalendarSyncReport& report) {
  if (!report.failure.isEmpty())
    return report.failure;
  return QStringLiteral("Connected to %1. A sync now writes %2 and removes %3 events.")
      .arg(report.collection)
      .arg(report.put)
      .arg(report.deleted);
}

QString CalDavKeeper::LastSyncText() {
  const QString stored = UserSettings::Read(settings::kCalDavLastSync);
  if (stored.isEmpty())
    return QStringLiteral("Not synced yet.");
  const QDateTime when =
      QDateTime::fromString(stored.section(QLatin1Char('\t'), 0, 0), Qt::ISODate);
  return QStringLiteral("Last sync: %1, %2")
      .arg(QLocale().toString(when, QLocale::ShortFormat), stored.section(QLatin1Char('\t'), 1));
}

}  // namespace paylark

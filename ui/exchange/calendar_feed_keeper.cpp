#include "ui/exchange/calendar_feed_keeper.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "core/exchange/calendar_feed.h"
#include "core/export/document_file.h"
#include "ui/base/paylark_app.h"

namespace paylark {
namespace {

const QString kKeepFeedKey = QStringLiteral("Calendar/KeepFeed");

QSettings Settings() {
  return QSettings(QStringLiteral("Velmora"), QStringLiteral("Paylark"));
}

// The reminder preference, so the feed's alarms ring when the reminders do.
int ReminderDays() {
  bool valid = false;
  const int days = Settings().value(QStringLiteral("Reminders/DaysAhead")).toInt(&valid);
  return valid && days >= 0 ? days : kDefaultReminderDays;
}

}  // namespace

bool CalendarFeedKeeper::Enabled() {
  return Settings().value(kKeepFeedKey, false).toBool();
}

void CalendarFeedKeeper::SetEnabled(bool enabled) {
  Settings().setValue(kKeepFeedKey, enabled);
}

QString CalendarFeedKeeper::FeedPath() const {
  return QString::fromStdString(CalendarFeedPath(app_.workingDirectory()));
}

QString CalendarFeedKeeper::Update() const {
  if (!Enabled() || app_.workingDirectory().empty())
    return {};
  const QString path = FeedPath();
  QDir().mkpath(QFileInfo(path).path());
  const OleDateTime now = app_.clock().Now();
  const std::string text =
      RenderCalendar(CalendarFeedDues(app_.store(), now), {now, ReminderDays()});
  const Status written = WriteDocument(path.toStdString(), text);
  return written.ok() ? QString() : QString::fromStdString(written.message());
}

}  // namespace paylark

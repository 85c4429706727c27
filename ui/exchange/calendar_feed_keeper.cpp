#include "ui/exchange/calendar_feed_keeper.h"

#include <QDir>
#include <QFileInfo>

#include "core/exchange/calendar_feed.h"
#include "core/export/document_file.h"
#include "settings/user_settings.h"
#include "ui/base/paylark_app.h"

namespace paylark {

bool CalendarFeedKeeper::Enabled() {
  return UserSettings::Read(settings::kKeepCalendarFeed);
}

void CalendarFeedKeeper::SetEnabled(bool enabled) {
  UserSettings::Write(settings::kKeepCalendarFeed, enabled);
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
  const std::string text = RenderCalendar(CalendarFeedDues(app_.store(), now),
                                          {now, UserSettings::Read(settings::kReminderDaysAhead)});
  const Status written = WriteDocument(path.toStdString(), text, app_.store().files());
  return written.ok() ? QString() : QString::fromStdString(written.message());
}

}  // namespace paylark

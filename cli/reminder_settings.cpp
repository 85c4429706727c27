#include "cli/reminder_settings.h"

#include <QSettings>
#include <QString>

#include "cli/date_time_text.h"
#include "core/base/setting_keys.h"

namespace paylark::cli {
namespace {

QSettings WindowSettings() {
  return QSettings(QString::fromLatin1(settings::kOrganization),
                   QString::fromLatin1(settings::kApplication));
}

}  // namespace

std::optional<int> SavedDaysAhead() {
  bool number = false;
  const int days =
      WindowSettings().value(QString::fromLatin1(settings::kReminderDaysAhead)).toInt(&number);
  if (!number || days < 0)
    return std::nullopt;
  return days;
}

std::optional<OleDateTime> SnoozedUntil() {
  const QString text =
      WindowSettings().value(QString::fromLatin1(settings::kRemindersSnoozedUntil)).toString();
  return ParseDateTime(text.toStdString(), DateOnly::kStartOfDay);
}

void SaveSnoozedUntil(const OleDateTime& until) {
  QSettings settings = WindowSettings();
  settings.setValue(QString::fromLatin1(settings::kRemindersSnoozedUntil),
                    QString::fromStdString(IsoDateTime(until)));
  settings.sync();
}

}  // namespace paylark::cli

#include "cli/reminder_settings.h"

#include <QString>

#include "cli/date_time_text.h"
#include "settings/user_settings.h"

namespace paylark::cli {

std::optional<OleDateTime> SnoozedUntil() {
  const QString text = UserSettings::Read(settings::kRemindersSnoozedUntil);
  return ParseDateTime(text.toStdString(), DateOnly::kStartOfDay);
}

void SaveSnoozedUntil(const OleDateTime& until) {
  UserSettings::Write(settings::kRemindersSnoozedUntil, QString::fromStdString(IsoDateTime(until)));
}

}  // namespace paylark::cli

#include "cli/working_directory.h"

#include <QString>

#include "settings/user_settings.h"

namespace paylark::cli {

std::optional<std::string> SavedWorkingDirectory() {
  const QString path = UserSettings::Read(settings::kWorkingDirectory);
  if (path.isEmpty())
    return std::nullopt;
  return path.toStdString();
}

}  // namespace paylark::cli

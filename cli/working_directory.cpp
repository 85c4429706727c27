#include "cli/working_directory.h"

#include <QSettings>
#include <QString>

namespace paylark::cli {

std::optional<std::string> SavedWorkingDirectory() {
  const QSettings settings(QStringLiteral("Velmora"), QStringLiteral("Paylark"));
  const QString path = settings.value(QStringLiteral("Directory/Path")).toString();
  if (path.isEmpty())
    return std::nullopt;
  return path.toStdString();
}

}  // namespace paylark::cli

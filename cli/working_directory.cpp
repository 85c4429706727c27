#include "cli/working_directory.h"

#include <QSettings>
#include <QString>

#include "core/base/setting_keys.h"

namespace paylark::cli {

std::optional<std::string> SavedWorkingDirectory() {
  const QSettings saved(QString::fromLatin1(settings::kOrganization),
                        QString::fromLatin1(settings::kApplication));
  const QString path = saved.value(QLatin1String(settings::kWorkingDirectory)).toString();
  if (path.isEmpty())
    return std::nullopt;
  return path.toStdString();
}

}  // namespace paylark::cli

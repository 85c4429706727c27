#include "ui/app/template_folders.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace paylark {

std::vector<std::string> TemplateFolders() {
  const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  std::vector<std::string> folders;
  if (!user.isEmpty())
    folders.push_back((user + "/paylark/Templates").toStdString());
  folders.push_back((QCoreApplication::applicationDirPath() + "/Templates").toStdString());
  folders.push_back(PAYLARK_DATADIR "/paylark/Templates");
  return folders;
}

}  // namespace paylark

#include "ui/base/resources.h"

#include <QFile>

// The resource initialiser must be called from the global namespace.
static void InitPaylarkQrc() {
  Q_INIT_RESOURCE(paylark);
}

namespace paylark {

void InitResources() {
  InitPaylarkQrc();
}

QString SvgPath(const QString& name) {
  return QStringLiteral(":/icons/") + name + ".svg";
}

QIcon SvgIcon(const QString& name) {
  const QString path = SvgPath(name);
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace paylark

#include "remote/secret_file.h"

#include <sys/stat.h>

#include <QFile>

namespace paylark {

Result<QString> ReadSecretFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat status {};
  if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return Status::NotFound(QStringLiteral("The password file %1 does not exist or is not a file.")
                                .arg(path)
                                .toStdString());
  }
  if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    return Status::InvalidArgument(
        QStringLiteral("The password file %1 may be read by others (mode %2): make it yours "
                       "alone with \"chmod 600 %1\"; it was not read.")
            .arg(path)
            .arg(status.st_mode & 07777, 4, 8, QLatin1Char('0'))
            .toStdString());
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return Status::IoError(QStringLiteral("The password file %1 could not be read: %2.")
                               .arg(path, file.errorString())
                               .toStdString());
  }
  QByteArray line = file.readLine();
  while (line.endsWith('\n') || line.endsWith('\r'))
    line.chop(1);
  return QString::fromUtf8(line);
}

}  // namespace paylark

#include "ui/sync/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <memory>

namespace paylark {
namespace {

constexpr int kHandOverMilliseconds = 3000;

QString RuntimeFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

}  // namespace

SingleInstance::SingleInstance(const QString& workingDirectory, QObject* parent)
    : QObject(parent), basePath_(RuntimeFolder() + QLatin1Char('/') + NameFor(workingDirectory)) {
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Receive);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::NameFor(const QString& workingDirectory) {
  const QString absolute = QDir::cleanPath(QFileInfo(workingDirectory).absoluteFilePath());
  const QByteArray hash = QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1);
  return QStringLiteral("paylark-") + QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::Role SingleInstance::Claim(const QStringList& arguments) {
  lock_ = std::make_unique<QLockFile>(basePath_ + QStringLiteral(".lock"));
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0) && HandOver(arguments))
    return Role::kHandedOver;
  const QString socket = basePath_ + QStringLiteral(".socket");
  QLocalServer::removeServer(socket);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  (void)server_.listen(socket);
  return Role::kFirst;
}

bool SingleInstance::HandOver(const QStringList& arguments) {
  QLocalSocket socket;
  socket.connectToServer(basePath_ + QStringLiteral(".socket"));
  if (!socket.waitForConnected(kHandOverMilliseconds))
    return false;
  socket.write(arguments.join(QLatin1Char('\n')).toUtf8());
  socket.write("\n\n");
  if (!socket.waitForBytesWritten(kHandOverMilliseconds))
    return false;
  socket.disconnectFromServer();
  return true;
}

void SingleInstance::Receive() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
      *buffer += socket->readAll();
      if (!buffer->endsWith("\n\n"))
        return;
      QStringList arguments = QString::fromUtf8(buffer->chopped(2)).split(QLatin1Char('\n'));
      arguments.removeAll(QString());
      buffer->clear();
      emit Activated(arguments);
    });
  }
}

}  // namespace paylark

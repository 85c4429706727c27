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

std::unique_ptr<QLockFile> LockFor(const QString& basePath) {
  auto lock = std::make_unique<QLockFile>(basePath + QStringLiteral(".lock"));
  lock->setStaleLockTime(0);  // a lock whose process is gone is taken over, whatever its age
  return lock;
}

}  // namespace

SingleInstance::SingleInstance(const QString& workingDirectory, QObject* parent)
    : QObject(parent), basePath_(BasePathFor(workingDirectory)) {
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Receive);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::NameFor(const QString& workingDirectory) {
  const QString absolute = QDir::cleanPath(QFileInfo(workingDirectory).absoluteFilePath());
  const QByteArray hash = QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1);
  return QStringLiteral("paylark-") + QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::Role SingleInstance::Claim(const QStringList& arguments) {
  lock_ = LockFor(basePath_);
  if (!lock_->tryLock(0) && HandOver(arguments))
    return Role::kHandedOver;
  Listen();
  return Role::kFirst;
}

bool SingleInstance::MoveTo(const QString& workingDirectory) {
  const QString basePath = BasePathFor(workingDirectory);
  if (basePath == basePath_)
    return true;
  std::unique_ptr<QLockFile> lock = LockFor(basePath);
  if (!lock->tryLock(0))
    return false;
  server_.close();
  lock_ = std::move(lock);  // the old folder's lock goes with its QLockFile
  basePath_ = basePath;
  Listen();
  return true;
}

QString SingleInstance::BasePathFor(const QString& workingDirectory) {
  return RuntimeFolder() + QLatin1Char('/') + NameFor(workingDirectory);
}

void SingleInstance::Listen() {
  const QString socket = basePath_ + QStringLiteral(".socket");
  QLocalServer::removeServer(socket);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  (void)server_.listen(socket);
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

#include "ui/sync/single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

namespace paylark {
namespace {

constexpr int kHandOverMilliseconds = 3000;
constexpr int kWaitingStarts = 16;

QString RuntimeFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

std::unique_ptr<QLockFile> LockFor(const QString& basePath) {
  auto lock = std::make_unique<QLockFile>(basePath + QStringLiteral(".lock"));
  lock->setStaleLockTime(0);  // a lock whose process is gone is taken over, whatever its age
  return lock;
}

// The socket's address; false when its path is too long for one.
bool AddressOf(const QString& path, sockaddr_un& address) {
  const QByteArray bytes = QFile::encodeName(path);
  address = {};
  if (static_cast<std::size_t>(bytes.size()) >= sizeof address.sun_path)
    return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

// Sends all of `bytes` on a socket that does not block, waiting for room until the deadline.
bool SendAll(int socket, const QByteArray& bytes, const QDeadlineTimer& deadline) {
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    const ssize_t count = ::send(socket, bytes.constData() + sent,
                                 static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
    if (count > 0) {
      sent += count;
      continue;
    }
    if (errno == EINTR)
      continue;
    pollfd room{socket, POLLOUT, 0};
    if (errno != EAGAIN || ::poll(&room, 1, static_cast<int>(deadline.remainingTime())) <= 0)
      return false;
  }
  return true;
}

// One later start's connection: reads its arguments as they come, and goes when it closes.
class HandedOverStart final : public QObject {
 public:
  HandedOverStart(int socket, std::function<void(const QStringList&)> arrived, QObject* parent)
      : QObject(parent),
        socket_(socket),
        readable_(socket, QSocketNotifier::Read),
        arrived_(std::move(arrived)) {
    connect(&readable_, &QSocketNotifier::activated, this, &HandedOverStart::Read);
  }
  ~HandedOverStart() override { ::close(socket_); }
  HandedOverStart(const HandedOverStart&) = delete;
  HandedOverStart& operator=(const HandedOverStart&) = delete;

 private:
  void Read() {
    char chunk[4096];
    for (;;) {
      const ssize_t count = ::read(socket_, chunk, sizeof chunk);
      if (count > 0) {
        buffer_.append(chunk, count);
        continue;
      }
      if (count < 0 && errno == EINTR)
        continue;
      if (count == 0 || errno != EAGAIN)
        Close();
      break;
    }
    if (!buffer_.endsWith("\n\n"))
      return;
    QStringList arguments = QString::fromUtf8(buffer_.chopped(2)).split(QLatin1Char('\n'));
    arguments.removeAll(QString());
    buffer_.clear();
    arrived_(arguments);
  }

  void Close() {
    readable_.setEnabled(false);
    deleteLater();
  }

  int socket_;
  QSocketNotifier readable_;
  std::function<void(const QStringList&)> arrived_;
  QByteArray buffer_;
};

}  // namespace

SingleInstance::SingleInstance(const QString& workingDirectory, QObject* parent)
    : QObject(parent), basePath_(BasePathFor(workingDirectory)) {}

SingleInstance::~SingleInstance() {
  StopListening();
}

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
  StopListening();
  lock_ = std::move(lock);  // the old folder's lock goes with its QLockFile
  basePath_ = basePath;
  Listen();
  return true;
}

QString SingleInstance::BasePathFor(const QString& workingDirectory) {
  return RuntimeFolder() + QLatin1Char('/') + NameFor(workingDirectory);
}

// Without a socket this window still works; later starts then open windows of their own.
void SingleInstance::Listen() {
  sockaddr_un address;
  if (!AddressOf(SocketPath(), address))
    return;
  (void)::unlink(address.sun_path);  // left by a first instance that ended without closing
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket < 0)
    return;
  // Only this user may connect: the mode is set before anyone can.
  if (::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(socket, kWaitingStarts) != 0) {
    ::close(socket);
    return;
  }
  listening_ = socket;
  incoming_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
  connect(incoming_.get(), &QSocketNotifier::activated, this, &SingleInstance::Accept);
}

void SingleInstance::StopListening() {
  if (listening_ < 0)
    return;
  incoming_.reset();
  ::close(std::exchange(listening_, -1));
  (void)QFile::remove(SocketPath());
}

bool SingleInstance::HandOver(const QStringList& arguments) const {
  sockaddr_un address;
  if (!AddressOf(SocketPath(), address))
    return false;
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket < 0)
    return false;
  const bool sent =
      ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      SendAll(socket, arguments.join(QLatin1Char('\n')).toUtf8() + "\n\n",
              QDeadlineTimer(kHandOverMilliseconds));
  ::close(socket);
  return sent;
}

void SingleInstance::Accept() {
  for (;;) {
    const int socket = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (socket < 0 && errno == EINTR)
      continue;
    if (socket < 0)
      return;
    new HandedOverStart(
        socket, [this](const QStringList& arguments) { emit Activated(arguments); }, this);
  }
}

}  // namespace paylark

#pragma once

#include <QLockFile>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>
#include <memory>

namespace paylark {

// One window per working directory. The first Paylark on a folder holds a lock and listens on a
// local socket, both named after the folder and kept in $XDG_RUNTIME_DIR (never in the synced
// folder); a later one hands its arguments to the first, which raises its window. The arguments
// go one per line, ended by an empty line.
class SingleInstance final : public QObject {
  Q_OBJECT

 public:
  enum class Role { kFirst, kHandedOver };

  explicit SingleInstance(const QString& workingDirectory, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Becomes the folder's first instance, or hands the arguments to the running one. A first
  // instance that cannot be reached (it just ended) leaves this one first.
  Role Claim(const QStringList& arguments);
  // Moves this first instance to another working directory: takes that folder's lock, then
  // releases the old one. False, with the old folder kept, when another Paylark holds the new one.
  bool MoveTo(const QString& workingDirectory);

  // "paylark-<16 hex digits of a hash of the absolute path>": lock and socket names.
  static QString NameFor(const QString& workingDirectory);

 signals:
  // Another start on the same folder asked for this window, with its arguments.
  void Activated(const QStringList& arguments);

 private:
  bool HandOver(const QStringList& arguments) const;
  void Listen();
  void StopListening();
  static QString BasePathFor(const QString& workingDirectory);
  QString SocketPath() const { return basePath_ + QStringLiteral(".socket"); }
  void Accept();

  QString basePath_;
  std::unique_ptr<QLockFile> lock_;
  int listening_ = -1;
  std::unique_ptr<QSocketNotifier> incoming_;
};

}  // namespace paylark

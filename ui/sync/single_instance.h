#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace paylark {

// One window per working directory. The first Paylark on a folder holds a lock and listens on a
// local socket, both named after the folder and kept in $XDG_RUNTIME_DIR (never in the synced
// folder); a later one hands its arguments to the first, which raises its window.
class SingleInstance final : public QObject {
  Q_OBJECT

 public:
  enum class Role { kFirst, kHandedOver };

  explicit SingleInstance(const QString& workingDirectory, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Becomes the folder's first instance, or hands the arguments to the running one. A first
  // instance that cannot be reached (it just ended) leaves this one first.
  Role Claim(const QStringList& arguments);

  // "paylark-<16 hex digits of a hash of the absolute path>": lock and socket names.
  static QString NameFor(const QString& workingDirectory);

 signals:
  // Another start on the same folder asked for this window, with its arguments.
  void Activated(const QStringList& arguments);

 private:
  bool HandOver(const QStringList& arguments);
  void Receive();

  QString basePath_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer server_;
};

}  // namespace paylark

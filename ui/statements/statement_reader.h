#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "core/base/status.h"
#include "core/statements/statement.h"

class QWidget;

namespace paylark {

// Reads statements on a thread of their own while a busy progress dialog with Cancel shows, so
// that the window keeps answering however long a file takes. Cancel gives up at once: the read
// goes on behind until its end and its statement is dropped, which changes nothing, as a read
// writes nothing. Reads still going on are waited for when the reader goes.
class StatementReader final : public QObject {
  Q_OBJECT

 public:
  using Read = std::function<Result<Statement>()>;

  explicit StatementReader(QWidget* window);
  StatementReader(const StatementReader&) = delete;
  StatementReader& operator=(const StatementReader&) = delete;
  ~StatementReader() override;

  // What the read gave, or nothing when the user cancelled it.
  std::optional<Result<Statement>> Run(const QString& fileName, Read read);

 signals:
  // A read has ended, on the window's thread.
  void readEnded(int read);

 private:
  QWidget* window_;
  std::vector<std::jthread> reads_;
};

}  // namespace paylark

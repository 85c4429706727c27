#include "ui/statements/statement_reader.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QWidget>
#include <chrono>
#include <future>
#include <utility>

namespace paylark {
namespace {

// A read that ends sooner shows no dialog at all.
constexpr int kShowAfterMilliseconds = 300;

}  // namespace

StatementReader::StatementReader(QWidget* window) : QObject(window), window_(window) {}

StatementReader::~StatementReader() = default;

std::optional<Result<Statement>> StatementReader::Run(const QString& fileName, Read read) {
  std::promise<Result<Statement>> promise;
  std::future<Result<Statement>> result = promise.get_future();
  const int number = static_cast<int>(reads_.size());
  QProgressDialog progress(QStringLiteral("Reading %1...").arg(fileName), QStringLiteral("Cancel"),
                           0, 0, window_);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kShowAfterMilliseconds);
  progress.setValue(0);
  QEventLoop loop;
  connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
  connect(this, &StatementReader::readEnded, &loop, [&loop, number](int ended) {
    if (ended == number)
      loop.quit();
  });
  // The reader outlives the thread (it joins it), so the thread may always tell it.
  reads_.emplace_back(
      [this, number, read = std::move(read), promise = std::move(promise)]() mutable {
        promise.set_value(read());
        QMetaObject::invokeMethod(
            this, [this, number] { emit readEnded(number); }, Qt::QueuedConnection);
      });
  loop.exec();
  if (result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
    return std::nullopt;
  return result.get();
}

}  // namespace paylark

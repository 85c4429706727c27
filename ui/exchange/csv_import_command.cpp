#include "ui/exchange/csv_import_command.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>
#include <memory>

#include "core/base/messages.h"
#include "core/exchange/csv_import.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"
#include "ui/exchange/import_dialog.h"

namespace paylark {
namespace {

// From this many dues on, adding them shows its progress.
constexpr std::size_t kProgressFrom = 200;

QString Text(const Message& message) {
  return QString::fromStdString(MessageText(message));
}

}  // namespace

CsvImportCommand::CsvImportCommand(PaylarkApp& app, QWidget* window, RunDialog runDialog)
    : app_(app), window_(window), runDialog_(std::move(runDialog)) {
  if (!runDialog_)
    runDialog_ = [](ImportDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
}

QString CsvImportCommand::Run() {
  // Files to import are usually kept beside the dues, not where the program was started.
  const QString path = app_.desktop().ChooseOpenPath(
      window_, QStringLiteral("Import CSV"), QStringLiteral("CSV Files (*.csv);;All Files (*)"),
      QString::fromStdString(app_.workingDirectory()));
  return path.isEmpty() ? QString() : Import(path);
}

QString CsvImportCommand::Import(const QString& path) {
  const Result<std::string> bytes = ReadCsvImportFile(app_.store().files(), path.toStdString());
  if (!bytes.ok()) {
    app_.prompt().Tell(window_, QString::fromStdString(bytes.status().message()),
                       PromptIcon::kWarning);
    return {};
  }
  ImportPlan plan;
  {
    WaitCursor wait;
    plan = PlanCsvImport(bytes.value(), app_.clock());
  }
  ImportDialog dialog(QFileInfo(path).fileName(), plan, window_);
  if (!runDialog_(dialog) || !plan.ok() || plan.dues.empty())
    return {};

  std::unique_ptr<QProgressDialog> progress;
  if (plan.dues.size() >= kProgressFrom) {
    progress = std::make_unique<QProgressDialog>(QStringLiteral("Adding dues..."), QString(), 0,
                                                 static_cast<int>(plan.dues.size()), window_);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
  }
  const auto added = ApplyCsvImport(plan, app_.store(), [&](std::size_t done) {
    if (progress && done % 50 == 0) {
      progress->setValue(static_cast<int>(done));
      QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
  });
  progress.reset();
  if (!added.ok()) {
    app_.prompt().Tell(window_, QString::fromStdString(added.status().message()),
                       PromptIcon::kWarning);
    return {};
  }
  return Text({MessageId::kImportAdded, {}, static_cast<long long>(added.value().size()), {}});
}

}  // namespace paylark

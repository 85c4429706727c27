#include "ui/bills/new_due_from_bill_command.h"

#include <QAction>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include "core/base/locale_currency.h"
#include "core/bills/bill_due.h"
#include "core/bills/bill_reading.h"
#include "settings/user_settings.h"
#include "ui/attachments/attach_files.h"
#include "ui/base/paylark_app.h"
#include "ui/editor/new_due_command.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/feature_host.h"

namespace paylark {
namespace {

// The wizard's line: what was read from where, then each warning, one a line.
QString NoteOf(const BillDue& due) {
  QStringList lines;
  if (!due.summary.empty())
    lines << QString::fromStdString(due.summary) + QLatin1Char('.');
  for (const std::string& warning : due.warnings)
    lines << QString::fromStdString(warning);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

NewDueFromBillCommand::NewDueFromBillCommand(PaylarkApp& app, FeatureHost& window,
                                             DialogRunner runner)
    : QObject(&window.dialogParent()), app_(app), window_(window), runner_(std::move(runner)) {
  QAction* command = window.commandRegistry().Add(
      {QStringLiteral("newDueFromBill"), QStringLiteral("New Due from &Bill..."),
       QStringLiteral("Fill in a new due from a bill's e-invoice or payment QR code\n"
                      "New Due from Bill"),
       MenuPlace::kFileNew});
  connect(command, &QAction::triggered, this, &NewDueFromBillCommand::Run);
  window.FollowFilesDroppedOutsideRows(*this,
                                       [this](const QStringList& paths) { OpenFirst(paths); });
}

void NewDueFromBillCommand::Run() {
  const QString path = app_.desktop().ChooseOpenPath(
      &window_.dialogParent(), QStringLiteral("New Due from Bill"),
      QStringLiteral("Bills (*.pdf *.xml *.png *.jpg *.jpeg);;All Files (*)"),
      QString::fromStdString(app_.workingDirectory()));
  if (!path.isEmpty())
    Open(path);
}

// A due is made from one bill; the others of a drop are left for the user to drop again.
void NewDueFromBillCommand::OpenFirst(const QStringList& paths) {
  Open(paths.front());
  if (paths.size() > 1 && reading_)
    leftOut_ = QStringLiteral("Only %1 was read: drop one bill at a time.")
                   .arg(QFileInfo(paths.front()).fileName());
}

void NewDueFromBillCommand::Open(const QString& path) {
  if (reading_) {
    window_.ShowStatusMessage(
        QStringLiteral("A bill is being read already: open %1 once its due is made.")
            .arg(QFileInfo(path).fileName()));
    return;
  }
  reading_ = true;
  window_.ShowStatusMessage(QStringLiteral("Reading %1…").arg(QFileInfo(path).fileName()));
  auto* watcher = new QFutureWatcher<Result<Bill>>(this);
  connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
    const Result<Bill> read = watcher->result();
    watcher->deleteLater();
    Fill(path, read);
  });
  watcher->setFuture(QtConcurrent::run([&files = app_.store().files(), file = path.toStdString()] {
    return ReadBillFile(files, file);
  }));
}

void NewDueFromBillCommand::Fill(const QString& path, const Result<Bill>& read) {
  window_.ShowStatusMessage(leftOut_);
  leftOut_.clear();
  if (!read.ok()) {
    app_.prompt().Tell(&window_.dialogParent(), QString::fromStdString(read.status().message()),
                       PromptIcon::kWarning);
    reading_ = false;
    emit Done();
    return;
  }
  const BillDueOptions options{app_.clock().Now(), UserSettings::Read(settings::kBillDaysToPay),
                               LocaleCurrencyCode()};
  const BillDue due = DueFromBill(read.value(), DueRecord::WithDefaults(app_.clock()), options);
  window_.AnnounceChange();
  const NewDueEnd end =
      NewDueFrom(app_, &window_.dialogParent(), {due.record, NoteOf(due)}, runner_);
  if (!end.recordId.empty())
    AttachFiles(app_, &window_.dialogParent(), end.recordId, {path});
  if (end.outcome == EditOutcome::kRecordsChanged) {
    window_.AnnounceRecordsChanged();
    if (!end.recordId.empty())
      window_.GoToDue(QString::fromStdString(end.recordId));
  }
  reading_ = false;
  emit Done();
}

}  // namespace paylark

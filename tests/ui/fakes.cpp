#include "tests/ui/fakes.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <optional>

#include "core/records/record_store.h"

namespace paylark::test {

PromptAnswer FakePrompt::Ask(QWidget*, const QString& text, PromptButtons buttons, PromptIcon) {
  asked << text;
  this->buttons.push_back(buttons);
  if (whileAsking)
    whileAsking();
  if (answers.empty())
    return PromptAnswer::kOk;
  const PromptAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

QString FakeDesktop::ChooseSavePath(QWidget*, const SaveRequest& request) {
  saveTitles << request.title;
  suggestedPaths << request.suggestedPath;
  return savePath;
}

QString FakeDesktop::ChooseDirectory(QWidget*, const QString& title, const QString& startFolder) {
  directoryTitles << title;
  directoryStarts << startFolder;
  return directory;
}

bool FakeDesktop::OpenFile(const QString& path) {
  opened << path;
  return openSucceeds;
}

bool FakeDesktop::ShowInFolder(const QString& path) {
  shownInFolder << path;
  return true;
}

bool FakeDesktop::StartDetached(const QString& program, const QStringList& arguments) {
  started << program + ' ' + arguments.join(' ');
  return true;
}

int FakeDesktop::RunProgram(const QString& program, const QStringList& arguments) {
  ran << program + ' ' + arguments.join(' ');
  return exitCode;
}

OleDateTime At(int year, int month, int day, int hour, int minute) {
  return OleDateTime::FromCivil(year, month, day, hour, minute).value();
}

Workspace::Workspace()
    : clock(At(2026, 3, 15, 10)), app(clock, prompt, desktop, SystemFileSystem()) {
  app.store().SetDurability(Durability::kUnsynced);
  app.SetWorkingDirectory(folder_.path().toStdString());
  (void)app.store().Reload();
}

std::string Workspace::AddDue(const std::string& title, const std::string& payTo, double amount,
                              const OleDateTime& due, bool paid, const std::string& seriesId) {
  DueRecord record = DueRecord::WithDefaults(clock);
  record.title = title;
  record.payTo = payTo;
  record.amount = amount;
  record.dueDate = due;
  record.startDate = due;
  record.paid = paid ? 1 : 0;
  record.seriesId = seriesId;
  record.account = "Household";
  return app.store().Add(record).recordId;
}

void UseFreshSettings() {
  // A static owner, so that the last folder is removed when the test program ends.
  static std::optional<QTemporaryDir> settingsFolder;
  settingsFolder.reset();
  settingsFolder.emplace();
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder->path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder->path());
}

bool SnapshotsWanted() {
  return !qEnvironmentVariableIsEmpty("PAYLARK_SNAPSHOTS");
}

void Snapshot(QWidget& widget, const QString& name, qreal pixelRatio) {
  const QString folder = qEnvironmentVariable("PAYLARK_SNAPSHOTS");
  if (folder.isEmpty())
    return;
  QDir().mkpath(folder);
  QPixmap picture(widget.size() * pixelRatio);
  picture.setDevicePixelRatio(pixelRatio);
  picture.fill(Qt::transparent);
  widget.render(&picture);
  picture.save(folder + QLatin1Char('/') + name);
}

QString ModalTitleOf(const std::function<void()>& open) {
  QString shown;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    shown = modal ? modal->windowTitle() : QString();
    if (modal)
      modal->close();
  });
  open();
  return shown;
}

void DropFiles(QWidget& target, QPoint at, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& path : paths)
    urls << QUrl::fromLocalFile(path);
  data.setUrls(urls);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &move);
  QVERIFY(move.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &drop);
  QVERIFY(drop.isAccepted());
}

}  // namespace paylark::test

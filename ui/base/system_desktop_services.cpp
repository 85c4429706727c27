#include "ui/base/system_desktop_services.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

#include "ui/base/print_preview.h"

namespace paylark {

QString SystemDesktopServices::ChooseSavePath(QWidget* parent, const SaveRequest& request) {
  // A dialog instance rather than the static function: only the instance adds the default
  // suffix before it asks about overwriting.
  QFileDialog dialog(parent, request.title, request.suggestedPath, request.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

QString SystemDesktopServices::ChooseDirectory(QWidget* parent, const QString& title,
                                               const QString& startFolder) {
  return QFileDialog::getExistingDirectory(parent, title, startFolder);
}

QString SystemDesktopServices::ChooseOpenPath(QWidget* parent, const QString& title,
                                              const QString& filter, const QString& startFolder) {
  return QFileDialog::getOpenFileName(parent, title, startFolder, filter);
}

// xdg-mime names the desktop's default application for a type, or nothing when there is none.
bool SystemDesktopServices::CanOpen(const QString& path) {
  constexpr int kWaitMs = 5'000;
  const QString type = QMimeDatabase().mimeTypeForFile(path).name();
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"), type});
  if (!query.waitForFinished(kWaitMs) || query.exitStatus() != QProcess::NormalExit) {
    query.kill();
    return true;  // no xdg-mime: the desktop may still know
  }
  return !query.readAllStandardOutput().trimmed().isEmpty();
}

QStringList SystemDesktopServices::ChooseOpenPaths(QWidget* parent, const QString& title,
                                                   const QString& filter,
                                                   const QString& startFolder) {
  return QFileDialog::getOpenFileNames(parent, title, startFolder, filter);
}

bool SystemDesktopServices::OpenFile(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool SystemDesktopServices::ShowInFolder(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

bool SystemDesktopServices::StartDetached(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

int SystemDesktopServices::RunProgram(const QString& program, const QStringList& arguments) {
  constexpr int kWaitMs = 30'000;
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(kWaitMs) || process.exitStatus() != QProcess::NormalExit) {
    process.kill();
    return -1;
  }
  return process.exitCode();
}

Status SystemDesktopServices::ShowPrintPreview(
    QWidget* parent, const QString& title, const std::function<void(QPagedPaintDevice*)>& paint) {
  return RunPrintPreview(parent, title, paint);
}

}  // namespace paylark

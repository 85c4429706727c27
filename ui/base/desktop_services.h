#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "core/base/status.h"

class QPagedPaintDevice;
class QWidget;

namespace paylark {

// What a Save As dialog needs: its title, the suggested file name, the file-type filter
// ("HTML Files (*.html)") and the suffix added to a name typed without one.
struct SaveRequest {
  QString title;
  QString suggestedPath;
  QString filter;
  QString defaultSuffix;
};

// The desktop around the window: file and folder pickers, opening files with their application,
// starting programs and the print preview. The window uses nothing else of the desktop, so tests
// replace all of it and never start a browser or a modal dialog.
class DesktopServices {
 public:
  virtual ~DesktopServices() = default;
  // The chosen path (confirmed for overwriting), or empty when the user cancelled.
  virtual QString ChooseSavePath(QWidget* parent, const SaveRequest& request) = 0;
  // The chosen folder, or empty when the user cancelled; the picker opens on startFolder.
  virtual QString ChooseDirectory(QWidget* parent, const QString& title,
                                  const QString& startFolder) = 0;
  // The chosen existing file, or empty when the user cancelled (or there is no picker); the
  // picker opens on startFolder.
  virtual QString ChooseOpenPath(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& startFolder) {
    (void)parent, (void)title, (void)filter, (void)startFolder;
    return {};
  }
  // Whether the desktop names an application for the file's type; true where it cannot tell.
  virtual bool CanOpen(const QString& /*path*/) { return true; }
  // The chosen existing files, or none when the user cancelled; a desktop that picks one file
  // at a time gives that one.
  virtual QStringList ChooseOpenPaths(QWidget* parent, const QString& title, const QString& filter,
                                      const QString& startFolder) {
    const QString path = ChooseOpenPath(parent, title, filter, startFolder);
    return path.isEmpty() ? QStringList() : QStringList{path};
  }
  // Hands the file to the desktop's default application. True only says that the request was
  // passed on: it cannot tell whether an application opened the file.
  virtual bool OpenFile(const QString& path) = 0;
  // Opens the folder that holds the file in the desktop's file manager; the same caveat.
  virtual bool ShowInFolder(const QString& path) = 0;
  // Starts a program that outlives Paylark; false when it could not be started.
  virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;
  // Runs a program to its end: its exit code, or -1 when it could not start or did not finish.
  // A desktop that runs no programs (the default) answers -1.
  virtual int RunProgram(const QString& /*program*/, const QStringList& /*arguments*/) {
    return -1;
  }
  // Shows a modal print preview whose pages are drawn by paint; an error when it cannot be shown.
  [[nodiscard]] virtual Status ShowPrintPreview(
      QWidget* parent, const QString& title,
      const std::function<void(QPagedPaintDevice*)>& paint) = 0;
};

}  // namespace paylark

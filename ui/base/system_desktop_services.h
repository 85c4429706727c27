#pragma once

#include "ui/base/desktop_services.h"

namespace paylark {

// The real desktop: QFileDialog, QDesktopServices, QProcess and QPrintPreviewDialog.
class SystemDesktopServices final : public DesktopServices {
 public:
  QString ChooseSavePath(QWidget* parent, const SaveRequest& request) override;
  QString ChooseDirectory(QWidget* parent, const QString& title,
                          const QString& startFolder) override;
  QString ChooseOpenPath(QWidget* parent, const QString& title, const QString& filter,
                         const QString& startFolder) override;
  bool CanOpen(const QString& path) override;
  QStringList ChooseOpenPaths(QWidget* parent, const QString& title, const QString& filter,
                              const QString& startFolder) override;
  bool OpenFile(const QString& path) override;
  bool ShowInFolder(const QString& path) override;
  bool StartDetached(const QString& program, const QStringList& arguments) override;
  int RunProgram(const QString& program, const QStringList& arguments) override;
  [[nodiscard]] Status ShowPrintPreview(
      QWidget* parent, const QString& title,
      const std::function<void(QPagedPaintDevice*)>& paint) override;
};

}  // namespace paylark

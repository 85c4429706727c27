#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QAbstractButton;
class QLineEdit;

namespace paylark {

class DesktopServices;
class PaylarkApp;
class Prompt;

// Shows the Working Directory dialog opened on initial; the confirmed path, or empty when the
// user cancelled.
using AskDirectory = std::function<QString(const QString& initial)>;

// Runs the real Working Directory dialog (no parent) and, on OK, creates the records folder.
QString AskForWorkingDirectory(PaylarkApp& app, const QString& initial);

// True when something exists at the path exactly as given; an empty path, or one that ends in
// "/", counts as not found.
bool PathExists(const QString& path);
// A path whose last component is "Paylark Files" (byte for byte) becomes its parent folder.
QString WithoutRecordsFolder(const QString& path);

// The Working Directory dialog: a read-only path field, Browse, Help, OK and Cancel as pictures
// over a background picture. OK is enabled only while the path is not empty.
class WorkingDirectoryDialog final : public QDialog {
  Q_OBJECT

 public:
  WorkingDirectoryDialog(Prompt& prompt, DesktopServices& desktop, std::function<void()> help,
                         QWidget* parent = nullptr);

  const QString& path() const { return path_; }
  void SetPath(const QString& path);

  // Browse: the folder picker, then the records-folder cut and the existence check.
  void OnBrowse();
  void OnHelp() { help_(); }
  void accept() override;

 protected:
  // Enter confirms like OK; there is no default push button to do it.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Prompt& prompt_;
  DesktopServices& desktop_;
  std::function<void()> help_;
  QString path_;
  QLineEdit* field_;
  QAbstractButton* ok_;
};

}  // namespace paylark

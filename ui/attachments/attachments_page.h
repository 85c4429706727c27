#pragma once

#include <QWidget>
#include <string>

class QListWidget;
class QPushButton;

namespace paylark {

class AttachmentPreview;
class PaylarkApp;

// The Modify sheet's "Attachments" page: the due's files with Add…, Open and Remove, a preview
// of the selected file, and files dropped anywhere on the page attached. Changes take effect at
// once, as in a file manager: OK or Cancel of the sheet neither keeps nor undoes them. Removed
// files go to the backups folder.
class AttachmentsPage final : public QWidget {
  Q_OBJECT

 public:
  explicit AttachmentsPage(PaylarkApp& app, QWidget* parent = nullptr);

  // Lists the due's files; the first one is selected and previewed.
  void SetRecordId(std::string recordId);
  void AddFiles(const QStringList& paths);
  AttachmentPreview& preview() { return *preview_; }

 signals:
  // After a file was added or removed here.
  void AttachmentsChanged();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Refresh(const QString& select = {});
  QString SelectedName() const;
  void ChooseFiles();
  void OpenSelected();
  void RemoveSelected();
  void SelectionChanged();

  PaylarkApp& app_;
  std::string recordId_;
  QListWidget* list_;
  QPushButton* open_;
  QPushButton* remove_;
  AttachmentPreview* preview_;
};

}  // namespace paylark

#pragma once

#include <QListView>
#include <optional>
#include <set>
#include <string>

#include "core/base/clock.h"
#include "core/records/due_record.h"

class QAction;
class QMenu;

namespace paylark {

class RecordStore;

class MonthListModel;

// The month list: the dues of the selected month as owner-painted rows sorted by due date. The
// selection mark is the row the user last selected; a refill leaves none.
class MonthListView final : public QListView {
  Q_OBJECT

 public:
  // The commands of the context menus; they stay owned by the main window.
  struct ContextCommands {
    QAction* newDue = nullptr;
    QAction* modifyDue = nullptr;
    QAction* deleteDue = nullptr;
  };

  // The clock tells the painter which unpaid dues are overdue.
  MonthListView(const Clock& clock, const RecordStore& store, ContextCommands commands,
                QWidget* parent = nullptr);

  // The selected row, or -1.
  int SelectionMark() const;
  // A copy of the selected row's record.
  std::optional<DueRecord> SelectedRecord() const;
  void SelectRow(int row);
  const MonthListModel& model() const { return *model_; }
  // The rows; whoever fills the month hands them in here.
  MonthListModel& model() { return *model_; }
  // Sends the selected due (or none) to whoever shows it.
  void SyncSelection();
  // The dues whose rows show a paperclip.
  void SetAttachedRecords(std::set<std::string> recordIds);
  const std::set<std::string>& attachedRecords() const { return attached_; }
  // The due whose row is at pos (viewport coordinates), or none.
  const DueRecord* RecordAt(const QPoint& pos) const;

  // The context menu for a right click at pos (viewport coordinates): "New" on empty space;
  // on a row, that row becomes the selection and the menu offers "New", "Modify", "Delete".
  QMenu* BuildContextMenu(const QPoint& pos);

 signals:
  void DueSelected(const paylark::DueRecord& record);
  void SelectionCleared();
  void ModifyRequested(const QString& recordId);
  // Local files were dropped on the due's row.
  void FilesDropped(const QString& recordId, const QStringList& paths);
  // Local files were dropped on the list outside any row: bills for new dues.
  void FilesDroppedOutsideRows(const QStringList& paths);
  // The rows on screen were just painted.
  void Painted();

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  ContextCommands commands_;
  MonthListModel* model_;
  std::set<std::string> attached_;
};

}  // namespace paylark

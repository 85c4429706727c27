#include "ui/shell/month_list_view.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

#include "ui/shell/month_list_model.h"
#include "ui/shell/month_row_painter.h"

namespace paylark {
namespace {

// Hands each row to the MonthRowPainter.
class MonthRowDelegate final : public QStyledItemDelegate {
 public:
  MonthRowDelegate(const Clock& clock, const QFont& font, const MonthListView& view)
      : QStyledItemDelegate(const_cast<MonthListView*>(&view)),
        clock_(clock),
        view_(view),
        painter_(font) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto* model = static_cast<const MonthListModel*>(index.model());
    const DueRecord* record = model->RecordAt(index.row());
    if (!record)
      return;
    const auto selection = option.state & QStyle::State_Selected
                               ? MonthRowPainter::Selection::kSelected
                               : MonthRowPainter::Selection::kNotSelected;
    const auto attachments = view_.attachedRecords().contains(record->recordId)
                                 ? MonthRowPainter::Attachments::kSome
                                 : MonthRowPainter::Attachments::kNone;
    painter_.Paint(*painter, option.rect, *record, index.row(), selection, clock_.Now(),
                   attachments);
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(1, MonthRowPainter::kRowHeight);
  }

 private:
  const Clock& clock_;
  const MonthListView& view_;
  mutable MonthRowPainter painter_;
};

// The local files among the dragged data, in their order.
QStringList LocalFilesOf(const QMimeData& data) {
  QStringList paths;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile())
      paths.append(url.toLocalFile());
  }
  return paths;
}

}  // namespace

MonthListView::MonthListView(const Clock& clock, const RecordStore& store, ContextCommands commands,
                             QWidget* parent)
    : QListView(parent), commands_(commands), model_(new MonthListModel(store, this)) {
  setModel(model_);
  setItemDelegate(new MonthRowDelegate(clock, font(), *this));
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setUniformItemSizes(true);
  setLayoutMode(QListView::SinglePass);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameShape(QFrame::NoFrame);
  setAccessibleName(QStringLiteral("Dues of the month"));
  QPalette colors = palette();
  colors.setColor(QPalette::Base, Qt::white);
  setPalette(colors);
  connect(this, &QListView::clicked, this, &MonthListView::SyncSelection);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &MonthListView::SyncSelection);
}

int MonthListView::SelectionMark() const {
  const QModelIndexList selected = selectionModel()->selectedRows();
  return selected.isEmpty() ? -1 : selected.constFirst().row();
}

std::optional<DueRecord> MonthListView::SelectedRecord() const {
  const DueRecord* record = model_->RecordAt(SelectionMark());
  if (!record)
    return std::nullopt;
  return *record;
}

void MonthListView::SelectRow(int row) {
  const QModelIndex index = model_->index(row);
  if (!index.isValid())
    return;
  setCurrentIndex(index);
  selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

void MonthListView::SyncSelection() {
  const std::optional<DueRecord> record = SelectedRecord();
  if (record) {
    emit DueSelected(*record);
  } else {
    emit SelectionCleared();
  }
}

void MonthListView::SetAttachedRecords(std::set<std::string> recordIds) {
  if (recordIds == attached_)
    return;
  attached_ = std::move(recordIds);
  viewport()->update();
}

const DueRecord* MonthListView::RecordAt(const QPoint& pos) const {
  return model_->RecordAt(indexAt(pos).row());
}

void MonthListView::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFilesOf(*event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

// On a row, files are attached to its due; anywhere else they are bills for new dues.
void MonthListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!LocalFilesOf(*event->mimeData()).isEmpty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void MonthListView::dropEvent(QDropEvent* event) {
  const DueRecord* record = RecordAt(event->position().toPoint());
  const QStringList paths = LocalFilesOf(*event->mimeData());
  if (paths.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  if (record)
    emit FilesDropped(QString::fromStdString(record->recordId), paths);
  else
    emit FilesDroppedOutsideRows(paths);
}

QMenu* MonthListView::BuildContextMenu(const QPoint& pos) {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const QModelIndex index = indexAt(pos);
  if (!index.isValid()) {
    menu->addAction(QStringLiteral("New"), commands_.newDue, &QAction::trigger);
    return menu;
  }
  SelectRow(index.row());
  viewport()->update();
  menu->addAction(QStringLiteral("New"), commands_.newDue, &QAction::trigger);
  menu->addAction(QStringLiteral("Modify"), commands_.modifyDue, &QAction::trigger);
  menu->addAction(QStringLiteral("Delete"), commands_.deleteDue, &QAction::trigger);
  return menu;
}

// Without a current row every key would go to the first row; End goes to the last.
QModelIndex MonthListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const int rows = model_->rowCount();
  if (!currentIndex().isValid() && action == MoveEnd && rows > 0)
    return model_->index(rows - 1);
  return QListView::moveCursor(action, modifiers);
}

void MonthListView::paintEvent(QPaintEvent* event) {
  QListView::paintEvent(event);
  emit Painted();
}

void MonthListView::contextMenuEvent(QContextMenuEvent* event) {
  BuildContextMenu(viewport()->mapFrom(this, event->pos()))->popup(event->globalPos());
}

void MonthListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QListView::mouseDoubleClickEvent(event);
  SyncSelection();
  const DueRecord* record = model_->RecordAt(indexAt(event->position().toPoint()).row());
  if (record)
    emit ModifyRequested(QString::fromStdString(record->recordId));
}

}  // namespace paylark

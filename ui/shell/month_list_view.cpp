#include "ui/shell/month_list_view.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

#include "ui/shell/month_list_model.h"
#include "ui/shell/month_row_painter.h"

namespace paylark {
namespace {

// Hands each row to the MonthRowPainter.
class MonthRowDelegate final : public QStyledItemDelegate {
 public:
  MonthRowDelegate(const Clock& clock, const QFont& font, QObject* parent)
      : QStyledItemDelegate(parent), clock_(clock), painter_(font) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto* model = static_cast<const MonthListModel*>(index.model());
    const DueRecord* record = model->RecordAt(index.row());
    if (!record)
      return;
    const auto selection = option.state & QStyle::State_Selected
                               ? MonthRowPainter::Selection::kSelected
                               : MonthRowPainter::Selection::kNotSelected;
    painter_.Paint(*painter, option.rect, *record, index.row(), selection, clock_.Now());
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(1, MonthRowPainter::kRowHeight);
  }

 private:
  const Clock& clock_;
  mutable MonthRowPainter painter_;
};

}  // namespace

MonthListView::MonthListView(const Clock& clock, const RecordStore& store, ContextCommands commands,
                             QWidget* parent)
    : QListView(parent), commands_(commands), model_(new MonthListModel(store, this)) {
  setModel(model_);
  setItemDelegate(new MonthRowDelegate(clock, font(), this));
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

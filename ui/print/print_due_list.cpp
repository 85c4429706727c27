#include "ui/print/print_due_list.h"

#include <QHeaderView>

#include "ui/print/print_list_model.h"
#include "ui/print/print_row_delegate.h"

namespace paylark {

PrintDueList::PrintDueList(PrintListModel& model, QWidget* parent) : QTreeView(parent) {
  setModel(&model);
  setItemDelegate(new PrintRowDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  header()->setStretchLastSection(false);
  // Dates and amounts always show whole; the title takes what is left.
  header()->setSectionResizeMode(QHeaderView::Interactive);
  header()->setSectionResizeMode(PrintListModel::kDueDateColumn, QHeaderView::ResizeToContents);
  header()->setSectionResizeMode(PrintListModel::kTitleColumn, QHeaderView::Stretch);
  header()->setSectionResizeMode(PrintListModel::kAmountColumn, QHeaderView::ResizeToContents);
  setColumnWidth(PrintListModel::kPayToColumn, 100);
  setAccessibleName(QStringLiteral("Dues to print"));
  QPalette colors = palette();
  colors.setColor(QPalette::Base, Qt::white);
  setPalette(colors);
}

void PrintDueList::mouseReleaseEvent(QMouseEvent* event) {
  QTreeView::mouseReleaseEvent(event);
  emit Clicked();
}

}  // namespace paylark

#include "ui/print/print_due_list.h"

#include "ui/print/print_list_model.h"
#include "ui/print/print_row_delegate.h"

namespace paylark {

PrintDueList::PrintDueList(PrintListModel& model, QWidget* parent) : QListView(parent) {
  setModel(&model);
  setItemDelegate(new PrintRowDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  setAccessibleName(QStringLiteral("Dues to print"));
  QPalette colors = palette();
  colors.setColor(QPalette::Base, Qt::white);
  setPalette(colors);
}

void PrintDueList::mouseReleaseEvent(QMouseEvent* event) {
  QListView::mouseReleaseEvent(event);
  emit Clicked();
}

}  // namespace paylark

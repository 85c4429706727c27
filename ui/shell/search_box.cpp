#include "ui/shell/search_box.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QTreeWidget>
#include <algorithm>

#include "core/base/format.h"

namespace paylark {
namespace {

constexpr int kRecordIdRole = Qt::UserRole;
constexpr int kResultsWidth = 620;
constexpr int kVisibleRows = 14;

QTreeWidgetItem* ResultItem(const DueRecord& due) {
  auto* item = new QTreeWidgetItem(QStringList{
      QString::fromStdString(FormatDate(due.dueDate, "")), QString::fromStdString(due.title),
      QString::fromStdString(due.payTo), QString::fromStdString(FormatAmount(due.amount))});
  item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
  item->setData(0, kRecordIdRole, QString::fromStdString(due.recordId));
  return item;
}

// Said where the results would be, so a search that finds nothing is not taken for one that
// did not run.
QTreeWidgetItem* NoMatchItem() {
  auto* item = new QTreeWidgetItem(QStringList{QString(), QStringLiteral("No dues match")});
  item->setFlags(Qt::NoItemFlags);
  return item;
}

}  // namespace

SearchBox::SearchBox(const RecordStore& store, QWidget* parent)
    : QLineEdit(parent), store_(store), results_(new QTreeWidget) {
  setObjectName(QStringLiteral("search"));
  setPlaceholderText(QStringLiteral("Search all dues (Ctrl+F)"));
  setAccessibleName(QStringLiteral("Search all dues"));
  setClearButtonEnabled(true);
  setFixedWidth(200);

  results_->setObjectName(QStringLiteral("searchResults"));
  results_->setWindowFlags(Qt::Popup);
  results_->setFocusPolicy(Qt::NoFocus);
  results_->setFocusProxy(this);
  results_->setRootIsDecorated(false);
  results_->setUniformRowHeights(true);
  results_->setSelectionBehavior(QAbstractItemView::SelectRows);
  results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  results_->setHeaderLabels({QStringLiteral("Due Date"), QStringLiteral("Title"),
                             QStringLiteral("Pay To"), QStringLiteral("Amount")});
  results_->header()->setStretchLastSection(false);
  results_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
  results_->setAccessibleName(QStringLiteral("Matching dues"));
  results_->installEventFilter(this);

  connect(this, &QLineEdit::textEdited, this, &SearchBox::ShowResults);
  connect(this, &QLineEdit::returnPressed, this, [this] {
    if (results_->topLevelItemCount() > 0)
      Choose(results_->currentItem() ? results_->currentItem() : results_->topLevelItem(0));
  });
  connect(results_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { Choose(item); });
}

SearchBox::~SearchBox() {
  delete results_;
}

void SearchBox::Invalidate() {
  search_.reset();
  if (results_->isVisible())
    ShowResults();
}

void SearchBox::ShowResults() {
  if (!search_)
    search_.emplace(store_);
  const std::vector<std::string> found = search_->Find(text().toStdString());
  results_->setUpdatesEnabled(false);
  results_->clear();
  QList<QTreeWidgetItem*> items;
  for (std::size_t i = 0; i < found.size() && i < kMostResults; ++i)
    items.append(ResultItem(store_.Get(found[i])));
  if (items.isEmpty() && !text().trimmed().isEmpty())
    items.append(NoMatchItem());
  results_->addTopLevelItems(items);
  results_->setUpdatesEnabled(true);
  if (items.isEmpty()) {
    results_->hide();
    return;
  }
  results_->setCurrentItem(items.constFirst());
  for (int column = 0; column < 4; ++column) {
    if (column != 1)
      results_->resizeColumnToContents(column);
  }
  PlaceResults();
  results_->show();
}

void SearchBox::PlaceResults() {
  const int rowHeight = results_->sizeHintForRow(0);
  const int rows = std::min(results_->topLevelItemCount(), kVisibleRows);
  QRect place(mapToGlobal(QPoint(width() - kResultsWidth, height())),
              QSize(kResultsWidth, rows * rowHeight + results_->header()->height() + 4));
  // Under the field, right-aligned with it, and shifted or cut to stay on the screen.
  if (const QScreen* shown = screen()) {
    const QRect room = shown->availableGeometry();
    place.setWidth(std::min(place.width(), room.width()));
    place.moveLeft(std::clamp(place.left(), room.left(), room.right() + 1 - place.width()));
    place.setBottom(std::min(place.bottom(), room.bottom()));
  }
  results_->setGeometry(place);
}

void SearchBox::Choose(const QTreeWidgetItem* item) {
  if (!item || item->data(0, kRecordIdRole).toString().isEmpty())
    return;
  results_->hide();
  emit DueChosen(item->data(0, kRecordIdRole).toString());
}

// While the results are open they take the keyboard: moving keys stay with them, Enter and
// Escape end the search, and every other key goes on to the field, so typing continues.
bool SearchBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched != results_ || event->type() != QEvent::KeyPress)
    return false;
  auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
      Choose(results_->currentItem());
      return true;
    case Qt::Key_Escape:
      results_->hide();
      setFocus();
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return false;
    default:
      setFocus();
      QLineEdit::event(key);
      return true;
  }
}

}  // namespace paylark

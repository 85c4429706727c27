#include "ui/shell/details_bar.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

#include "core/records/due_details.h"
#include "ui/widgets/display_style.h"

namespace paylark {
namespace {

constexpr int kFieldRows = static_cast<int>(kDetailHeadings.size());
constexpr int kHeadingWidth = 100;
// A cell's text keeps this much room to its borders before it is elided.
constexpr int kCellPadding = 12;

// The widest heading with its cell's padding.
int HeadingsWidth(const QTableWidget& list) {
  const QAbstractItemView& view = list;
  return view.sizeHintForColumn(0);
}

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

DetailsBar::DetailsBar(QWidget* parent)
    : QDockWidget(QStringLiteral("Details"), parent), list_(new QTableWidget(kRows, 2, this)) {
  setObjectName(QStringLiteral("DetailsBar"));
  UseFaceBackground(*this);
  list_->horizontalHeader()->hide();
  list_->verticalHeader()->hide();
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the bar; the arrow keys move between its rows.
  list_->setTabKeyNavigation(false);
  list_->setColumnWidth(0, kHeadingWidth);
  // The values take what is left; a narrowed bar elides them (their tooltips show them whole)
  // rather than scrolling.
  list_->horizontalHeader()->setMinimumSectionSize(30);
  list_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setWordWrap(false);
  list_->setTextElideMode(Qt::ElideRight);
  list_->setAccessibleName(QStringLiteral("Details of the selected due"));
  QFont bold = list_->font();
  bold.setBold(true);
  for (int row = 0; row < kRows; ++row) {
    auto* heading = new QTableWidgetItem(FromView(
        row < kFieldRows ? kDetailHeadings[static_cast<std::size_t>(row)] : kSeriesHeading));
    heading->setFont(bold);
    list_->setItem(row, 0, heading);
    list_->setItem(row, 1, new QTableWidgetItem());
  }
  // 300 pixels wide at first (the window sizes the dock), but narrow windows may take it down
  // to a readable heading column and a little of each value.
  list_->setMinimumSize(kNarrowestWidth, 120);
  setWidget(list_);
  setFocusProxy(list_);
}

void DetailsBar::FillDetails(const DueRecord& record, std::optional<SeriesPosition> position,
                             const std::string& seriesChange, std::optional<OleDateTime> today) {
  const std::array<DetailRow, kFieldRows> rows = DueDetails(record);
  for (int row = 0; row < kFieldRows; ++row) {
    const QString value = QString::fromStdString(rows[static_cast<std::size_t>(row)].value);
    list_->item(row, 1)->setText(value);
    list_->item(row, 1)->setToolTip(value);
  }
  std::string series = SeriesPositionText(position);
  if (!series.empty() && !seriesChange.empty())
    series += " \u00B7 " + seriesChange;
  list_->item(kFieldRows, 1)->setText(QString::fromStdString(series));
  std::vector<DetailRow> more = PaymentDetails(record);
  if (today) {
    for (DetailRow& row : ContractDetails(record, *today))
      more.push_back(std::move(row));
  }
  FillPayment(more);
}

// The payment rows follow the fixed ones, as many as the due has.
void DetailsBar::FillPayment(const std::vector<DetailRow>& rows) {
  list_->setRowCount(kRows + static_cast<int>(rows.size()));
  QFont bold = list_->font();
  bold.setBold(true);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = kRows + static_cast<int>(i);
    auto* heading = new QTableWidgetItem(FromView(rows[i].heading));
    heading->setFont(bold);
    list_->setItem(row, 0, heading);
    const QString value = QString::fromStdString(rows[i].value);
    auto* item = new QTableWidgetItem(value);
    item->setToolTip(value);
    list_->setItem(row, 1, item);
  }
}

void DetailsBar::ClearDetails() {
  list_->setRowCount(kRows);
  for (int row = 0; row < kRows; ++row) {
    list_->item(row, 1)->setText({});
    list_->item(row, 1)->setToolTip({});
  }
}

int DetailsBar::ReadableWidth() const {
  const OleDateTime widest = OleDateTime::FromCivil(2026, 12, 28, 22, 58).value();
  const int date =
      list_->fontMetrics().horizontalAdvance(QString::fromStdString(DateAndTimeText(widest)));
  const int margins = width() - list_->viewport()->width();
  return HeadingsWidth(*list_) + date + kCellPadding + margins;
}

void DetailsBar::resizeEvent(QResizeEvent* event) {
  QDockWidget::resizeEvent(event);
  list_->setColumnWidth(
      0, width() < kWidth ? std::min(kHeadingWidth, HeadingsWidth(*list_)) : kHeadingWidth);
}

int DetailsBar::RowCount() const {
  return list_->rowCount();
}

QString DetailsBar::Heading(int row) const {
  return list_->item(row, 0)->text();
}

QString DetailsBar::Value(int row) const {
  return list_->item(row, 1)->text();
}

}  // namespace paylark

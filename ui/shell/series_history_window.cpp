#include "ui/shell/series_history_window.h"

#include <QChartView>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <clocale>

#include "core/base/cents.h"
#include "core/base/format.h"
#include "core/records/due_details.h"
#include "core/records/payment.h"
#include "core/records/series_history.h"
#include "ui/base/date_conversion.h"
#include "ui/widgets/chart_over_table.h"
#include "ui/widgets/day_axis.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/screen_room.h"

namespace paylark {
namespace {

constexpr QSize kPreferredSize(900, 640);
const QColor kAmountColour(52, 85, 127);
const QColor kPaidColour(0, 128, 0);

QString Amount(double amount) {
  return QString::fromStdString(FormatAmount(amount));
}

QLineSeries* Line(const QString& name, const QColor& colour) {
  auto* line = new QLineSeries;
  line->setName(name);
  line->setColor(colour);
  line->setPointsVisible(true);
  line->setMarkerSize(7);
  QPen pen(colour);
  pen.setWidth(2);
  line->setPen(pen);
  return line;
}

}  // namespace

SeriesHistoryWindow::SeriesHistoryWindow(std::vector<DueRecord> members, QWidget* parent)
    : QDialog(parent), members_(std::move(members)), table_(new QTableWidget(0, 5)) {
  setObjectName(QStringLiteral("seriesHistory"));
  const QString title = members_.empty() ? QString() : QString::fromStdString(members_[0].title);
  setWindowTitle(QStringLiteral("Series History - %1").arg(title));
  UseFaceBackground(*this);
  table_->setObjectName(QStringLiteral("members"));
  table_->setHorizontalHeaderLabels({QStringLiteral("Due Date"), QStringLiteral("Amount"),
                                     QStringLiteral("Paid On"), QStringLiteral("Paid Amount"),
                                     QStringLiteral("Change")});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  // Dates and times on one line each; the amounts share what is left.
  table_->setWordWrap(false);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (const int dates : {0, 2})
    table_->horizontalHeader()->setSectionResizeMode(dates, QHeaderView::ResizeToContents);

  // A series whose bills vary says how far: what the forecast's estimate is taken from.
  const std::string range = PaidRangeText(members_);
  auto* heading = new QLabel(
      QStringLiteral("%1 · %2 dues").arg(title).arg(static_cast<int>(members_.size())) +
      (range.empty() ? QString() : QStringLiteral(" · ") + QString::fromStdString(range)));
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  AddChartOverTable(*layout, *BuildChart(), *table_);
  layout->addWidget(close);
  FillTable();
  FitWindow(*this, kPreferredSize);
}

// The amount due at each due date; what was paid, in all its parts, at each due date that has a
// payment.
QWidget* SeriesHistoryWindow::BuildChart() {
  QLineSeries* amounts = Line(QStringLiteral("Amount"), kAmountColour);
  QLineSeries* paid = Line(QStringLiteral("Paid amount"), kPaidColour);
  double low = 0;
  double high = 0;
  for (const DueRecord& member : members_) {
    const qreal at = DayAxisValue(member.dueDate);
    amounts->append(at, member.amount);
    low = std::min(low, member.amount);
    high = std::max(high, member.amount);
    if (IsPaid(member) || IsPartlyPaid(member)) {
      const double value = FromCents(PaidShare(member));
      paid->append(at, value);
      low = std::min(low, value);
      high = std::max(high, value);
    }
  }
  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignRight);  // the height goes to the amount axis
  chart->addSeries(amounts);
  chart->addSeries(paid);
  chart->setLocale(QLocale(QString::fromLatin1(std::setlocale(LC_MONETARY, nullptr))));
  chart->setLocalizeNumbers(true);
  auto* dates = new QCategoryAxis;
  std::vector<OleDateTime> days;
  days.reserve(members_.size());
  for (const DueRecord& member : members_)
    days.push_back(member.dueDate);
  FillDayAxis(*dates, days);
  auto* values = new QValueAxis;
  values->setLabelFormat(QStringLiteral("%.2f"));
  values->setRange(low, high > low ? high * 1.1 : low + 1);
  values->applyNiceNumbers();
  chart->addAxis(dates, Qt::AlignBottom);
  chart->addAxis(values, Qt::AlignLeft);
  for (QLineSeries* line : {amounts, paid}) {
    line->attachAxis(dates);
    line->attachAxis(values);
  }
  chart_ = new QChartView(chart);
  chart_->setObjectName(QStringLiteral("chart"));
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setMinimumWidth(320);
  return chart_;
}

void SeriesHistoryWindow::FillTable() {
  table_->setRowCount(static_cast<int>(members_.size()));
  for (std::size_t i = 0; i < members_.size(); ++i) {
    const DueRecord& member = members_[i];
    const QStringList texts = {
        QString::fromStdString(DateAndTimeText(member.dueDate)), Amount(member.amount),
        member.paidOn ? QString::fromStdString(DateAndTimeText(*member.paidOn))
                      : (IsPaid(member) ? QStringLiteral("Paid") : QString()),
        IsPaid(member)         ? Amount(FromCents(PaidShare(member)))
        : IsPartlyPaid(member) ? QString::fromStdString(PartsPaidText(member))
                               : QString(),
        QString::fromStdString(SeriesChangeText(members_, member.recordId))};
    for (int column = 0; column < texts.size(); ++column) {
      auto* item = new QTableWidgetItem(texts[column]);
      if (column == 1 || column == 3 || column == 4)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(static_cast<int>(i), column, item);
    }
  }
}

Status RunSeriesHistory(std::vector<DueRecord> members, QWidget* parent) {
  SeriesHistoryWindow history(std::move(members), parent);
  history.exec();
  return Status::Ok();
}

}  // namespace paylark

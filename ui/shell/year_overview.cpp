#include "ui/shell/year_overview.h"

#include <QChartView>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QSpinBox>
#include <QTableWidget>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <clocale>

#include "core/base/cents.h"
#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/records/year_summary.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/screen_room.h"

namespace paylark {
namespace {

constexpr QSize kPreferredSize(1000, 680);
constexpr double kSmallestAxisSpan = 100;

const QColor kPaidColour(0, 128, 0);
const QColor kUnpaidColour(200, 0, 0);

QString Text(MessageId id) {
  return QString::fromStdString(MessageText(id));
}

QString Amount(double amount) {
  return QString::fromStdString(FormatAmount(amount));
}

QString MonthName(int year, int monthIndex, std::string_view picture) {
  const auto first = OleDateTime::FromCivil(year, monthIndex + 1, 1);
  return first ? QString::fromStdString(FormatDate(*first, picture)) : QString();
}

QTableWidget* Table(const QString& name, const QStringList& headings) {
  auto* table = new QTableWidget(0, static_cast<int>(headings.size()));
  table->setObjectName(name);
  table->setHorizontalHeaderLabels(headings);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < table->columnCount(); ++column)
    table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  return table;
}

void SetRow(QTableWidget& table, int row, const QStringList& texts, bool bold = false) {
  for (int column = 0; column < texts.size(); ++column) {
    auto* item = new QTableWidgetItem(texts[column]);
    if (column > 0)
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (bold) {
      QFont font = item->font();
      font.setBold(true);
      item->setFont(font);
    }
    table.setItem(row, column, item);
  }
}

QStringList SumTexts(const AmountSums& sums) {
  return {Amount(FromCents(sums.paid)), Amount(FromCents(sums.unpaid)),
          Amount(FromCents(sums.total))};
}

}  // namespace

YearOverview::YearOverview(const RecordStore& store, int year, QWidget* parent)
    : QDialog(parent),
      store_(store),
      year_(new QSpinBox),
      months_(Table(QStringLiteral("months"), {QStringLiteral("Month"), QStringLiteral("Paid"),
                                               QStringLiteral("Unpaid"), QStringLiteral("Total")})),
      payees_(Table(QStringLiteral("payees"),
                    {QStringLiteral("Pay To"), QStringLiteral("Dues"), QStringLiteral("Paid"),
                     QStringLiteral("Unpaid"), QStringLiteral("Total")})) {
  setWindowTitle(QStringLiteral("Year Overview"));
  UseFaceBackground(*this);
  year_->setObjectName(QStringLiteral("year"));
  year_->setRange(100, 9999);
  year_->setAccessibleName(QStringLiteral("Year"));

  auto* yearRow = new QHBoxLayout;
  yearRow->addWidget(new QLabel(QStringLiteral("Year:")));
  yearRow->addWidget(year_);
  yearRow->addStretch(1);

  // Every month and the year's row in view without scrolling.
  months_->setMinimumHeight(months_->horizontalHeader()->sizeHint().height() +
                            13 * months_->verticalHeader()->defaultSectionSize() +
                            2 * months_->frameWidth());
  months_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* upper = new QHBoxLayout;
  upper->addWidget(months_, 2);
  upper->addWidget(BuildChart(), 3);

  auto* byPayee = new QGroupBox(QStringLiteral("The year by pay-to"));
  auto* payeeLayout = new QVBoxLayout(byPayee);
  payeeLayout->addWidget(payees_);

  auto* content = new QWidget;
  auto* contentLayout = new QVBoxLayout(content);
  contentLayout->setContentsMargins(0, 0, 0, 0);
  contentLayout->addLayout(yearRow);
  contentLayout->addLayout(upper, 3);
  contentLayout->addWidget(byPayee, 2);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // On a small screen the tables and the chart scroll; Close stays in view.
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new FittingScrollArea(content), 1);
  layout->addWidget(close);
  FitWindow(*this, kPreferredSize);

  year_->setValue(year);
  connect(year_, &QSpinBox::valueChanged, this, &YearOverview::ShowYear);
  ShowYear(year);
}

QWidget* YearOverview::BuildChart() {
  paid_ = new QBarSet(Text(MessageId::kOverviewPaid));
  unpaid_ = new QBarSet(Text(MessageId::kOverviewUnpaid));
  paid_->setColor(kPaidColour);
  unpaid_->setColor(kUnpaidColour);
  auto* series = new QStackedBarSeries;
  series->append(paid_);
  series->append(unpaid_);

  auto* chart = new QChart;
  chart->addSeries(series);
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignBottom);
  monthAxis_ = new QBarCategoryAxis;
  // Upright, so that every month's name is shown whole however narrow its bar.
  monthAxis_->setLabelsAngle(-90);
  amountAxis_ = new QValueAxis;
  amountAxis_->setLabelFormat(QStringLiteral("%.0f"));
  // The axis groups digits as the amounts beside it do ("12.000" under de_DE).
  chart->setLocale(QLocale(QString::fromLatin1(std::setlocale(LC_MONETARY, nullptr))));
  chart->setLocalizeNumbers(true);
  chart->addAxis(monthAxis_, Qt::AlignBottom);
  chart->addAxis(amountAxis_, Qt::AlignLeft);
  series->attachAxis(monthAxis_);
  series->attachAxis(amountAxis_);

  chart_ = new QChartView(chart);
  chart_->setObjectName(QStringLiteral("chart"));
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setMinimumSize(420, 300);
  return chart_;
}

void YearOverview::ShowYear(int year) {
  const YearSummary summary = SummarizeYear(store_, year);
  FillMonths(summary);
  FillChart(summary);
  FillPayees(summary);
}

void YearOverview::FillMonths(const YearSummary& summary) {
  months_->setRowCount(13);
  for (int month = 0; month < 12; ++month) {
    SetRow(*months_, month,
           QStringList{MonthName(summary.year, month, "MMMM")} +
               SumTexts(summary.months[static_cast<std::size_t>(month)]));
  }
  SetRow(*months_, 12, QStringList{QString::number(summary.year)} + SumTexts(summary.wholeYear),
         true);
  // Month names and sums whole: the table is never narrower than its columns (the window
  // scrolls instead).
  const QAbstractItemView& view = *months_;
  int width = 2 * months_->frameWidth();
  for (int column = 0; column < months_->columnCount(); ++column) {
    width += std::max(view.sizeHintForColumn(column),
                      months_->horizontalHeader()->sectionSizeHint(column));
  }
  months_->setMinimumWidth(width);
}

void YearOverview::FillChart(const YearSummary& summary) {
  QStringList categories;
  QList<qreal> paid;
  QList<qreal> unpaid;
  double low = 0;
  double high = 0;
  for (int month = 0; month < 12; ++month) {
    const AmountSums& sums = summary.months[static_cast<std::size_t>(month)];
    categories << MonthName(summary.year, month, "MMM");
    const double paidAmount = FromCents(sums.paid);
    const double unpaidAmount = FromCents(sums.unpaid);
    const double total = FromCents(sums.total);
    paid << paidAmount;
    unpaid << unpaidAmount;
    low = std::min({low, paidAmount, unpaidAmount, total});
    high = std::max({high, paidAmount + std::max(unpaidAmount, 0.0), total});
  }
  paid_->remove(0, paid_->count());
  unpaid_->remove(0, unpaid_->count());
  paid_->append(paid);
  unpaid_->append(unpaid);
  monthAxis_->setCategories(categories);
  // The axis labels whole amounts: a span of a few units would repeat "0" and "1" down it.
  amountAxis_->setRange(low, std::max(high, low + kSmallestAxisSpan));
  amountAxis_->applyNiceNumbers();
  chart_->chart()->setTitle(QString::fromStdString(
      MessageText(Message{MessageId::kOverviewChartTitle, {}, summary.year, {}})));
}

void YearOverview::FillPayees(const YearSummary& summary) {
  payees_->setRowCount(static_cast<int>(summary.payees.size()));
  int row = 0;
  for (const PayeeSums& payee : summary.payees) {
    SetRow(*payees_, row++,
           QStringList{QString::fromStdString(payee.payTo), QString::number(payee.dues)} +
               SumTexts(payee.sums));
  }
}

Status RunYearOverview(const RecordStore& store, int year, QWidget* parent) {
  YearOverview overview(store, year, parent);
  overview.exec();
  return Status::Ok();
}

}  // namespace paylark

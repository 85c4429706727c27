#include "ui/forecast/forecast_window.h"

#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <clocale>
#include <map>

#include "core/base/format.h"
#include "core/base/locale_amount.h"
#include "core/base/messages.h"
#include "core/base/text_encoding.h"
#include "core/forecast/account_key.h"
#include "core/forecast/balance_amount.h"
#include "core/forecast/balance_file.h"
#include "core/records/record_store.h"
#include "settings/user_settings.h"
#include "ui/base/date_conversion.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/screen_room.h"

namespace paylark {
namespace {

constexpr QSize kPreferredSize(900, 640);
constexpr int kHorizons[] = {30, 90, 180, 365};
const QColor kBelowColour(200, 0, 0);
const QColor kIncomeColour(0, 128, 0);

QString Money(Cents cents) {
  return QString::fromStdString(FormatAmount(FromCents(cents)));
}

QString Day(const OleDateTime& date) {
  return QString::fromStdString(FormatDate(date, "d MMM yyyy"));
}

qint64 ChartTime(const OleDateTime& date) {
  return ToQDateTime(date).toMSecsSinceEpoch();
}

}  // namespace

ForecastWindow::ForecastWindow(RecordStore& store, const Clock& clock, QWidget* parent)
    : QDialog(parent),
      store_(store),
      clock_(clock),
      balances_(store.files(), store.RecordsFolder()),
      warnBelow_(Cents{UserSettings::Read(settings::kForecastWarnBelow)} * 100),
      account_(new QComboBox),
      horizon_(new QComboBox),
      balanceLine_(new QLabel),
      lowLine_(new QLabel),
      register_(new QTableWidget(0, 4)) {
  setWindowTitle(QStringLiteral("Forecast"));
  UseFaceBackground(*this);
  balances_.Load(store.balanceFiles());
  account_->setObjectName(QStringLiteral("account"));
  account_->setAccessibleName(QStringLiteral("Account"));
  horizon_->setObjectName(QStringLiteral("horizon"));
  horizon_->setAccessibleName(QStringLiteral("Days ahead"));
  for (const int days : kHorizons)
    horizon_->addItem(QStringLiteral("%1 days").arg(days), days);
  horizon_->setCurrentIndex(1);
  balanceLine_->setObjectName(QStringLiteral("balanceLine"));
  lowLine_->setObjectName(QStringLiteral("lowLine"));
  lowLine_->setWordWrap(true);
  auto* update = new QPushButton(QStringLiteral("&Update Balance…"));
  update->setObjectName(QStringLiteral("updateBalance"));

  auto* accountLabel = new QLabel(QStringLiteral("&Account:"));
  accountLabel->setBuddy(account_);
  auto* horizonLabel = new QLabel(QStringLiteral("&Show:"));
  horizonLabel->setBuddy(horizon_);
  auto* top = new QHBoxLayout;
  top->addWidget(accountLabel);
  top->addWidget(account_, 1);
  top->addWidget(horizonLabel);
  top->addWidget(horizon_);
  auto* balanceRow = new QHBoxLayout;
  balanceRow->addWidget(balanceLine_, 1);
  balanceRow->addWidget(update);

  register_->setObjectName(QStringLiteral("register"));
  register_->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Due"),
                                        QStringLiteral("Amount"), QStringLiteral("Balance")});
  register_->verticalHeader()->hide();
  register_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  register_->setSelectionBehavior(QAbstractItemView::SelectRows);
  register_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  register_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

  auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(balanceRow);
  layout->addWidget(lowLine_);
  layout->addWidget(BuildChart(), 3);
  layout->addWidget(register_, 1);
  layout->addWidget(close);
  resize(kPreferredSize.boundedTo(ScreenRoom(parent)).expandedTo(minimumSizeHint()));

  FillAccounts();
  connect(account_, &QComboBox::currentIndexChanged, this, &ForecastWindow::Recompute);
  connect(horizon_, &QComboBox::currentIndexChanged, this, &ForecastWindow::Recompute);
  connect(update, &QPushButton::clicked, this, &ForecastWindow::AskForBalance);
  Recompute();
}

QWidget* ForecastWindow::BuildChart() {
  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignBottom);
  // On a small screen every pixel goes to the plot, so that the amount axis keeps its labels.
  chart->layout()->setContentsMargins(0, 0, 0, 0);
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->setLocale(QLocale(QString::fromLatin1(std::setlocale(LC_MONETARY, nullptr))));
  chart->setLocalizeNumbers(true);
  balance_ = new QLineSeries;
  balance_->setName(QStringLiteral("Balance"));
  warning_ = new QLineSeries;
  warning_->setName(QStringLiteral("Warning level"));
  warning_->setPen(QPen(kBelowColour, 1, Qt::DashLine));
  lowPoint_ = new QScatterSeries;
  lowPoint_->setName(QStringLiteral("Lowest"));
  lowPoint_->setColor(kBelowColour);
  lowPoint_->setMarkerSize(9);
  dates_ = new QDateTimeAxis;
  dates_->setFormat(QLocale().dateFormat(QLocale::ShortFormat));
  dates_->setTickCount(6);
  amounts_ = new QValueAxis;
  amounts_->setLabelFormat(QStringLiteral("%.0f"));
  chart->addAxis(dates_, Qt::AlignBottom);
  chart->addAxis(amounts_, Qt::AlignLeft);
  for (QXYSeries* series : {static_cast<QXYSeries*>(balance_), static_cast<QXYSeries*>(warning_),
                            static_cast<QXYSeries*>(lowPoint_)}) {
    chart->addSeries(series);
    series->attachAxis(dates_);
    series->attachAxis(amounts_);
  }
  chart_ = new QChartView(chart);
  chart_->setObjectName(QStringLiteral("chart"));
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setMinimumSize(320, 200);
  return chart_;
}

// "All accounts", then each account that a due or a balance entry names, once however its
// letter case or blanks differ, then "(no account)".
void ForecastWindow::FillAccounts() {
  std::map<std::string, std::string> names;
  store_.map().ForEach([&](const DueRecord& record) {
    if (!AccountKey(record.account).empty())
      names.emplace(AccountKey(record.account), std::string(TrimWhiteSpace(record.account)));
  });
  for (const BalanceEntry& entry : balances_.entries()) {
    if (!AccountKey(entry.account).empty())
      names.emplace(AccountKey(entry.account), std::string(TrimWhiteSpace(entry.account)));
  }
  const QSignalBlocker quiet(account_);
  account_->clear();
  account_->addItem(QStringLiteral("All accounts"));
  for (const auto& [key, name] : names)
    account_->addItem(QString::fromStdString(name), QString::fromStdString(name));
  account_->addItem(QStringLiteral("(no account)"), QString());
  if (names.size() == 1)
    account_->setCurrentIndex(1);
}

std::optional<std::string> ForecastWindow::ChosenAccount() const {
  if (account_->currentIndex() <= 0)
    return std::nullopt;
  return account_->currentData().toString().toStdString();
}

void ForecastWindow::Recompute() {
  const ForecastRequest request{ChosenAccount(), clock_.Now(), horizon_->currentData().toInt(),
                                warnBelow_};
  forecast_ = MakeForecast(request, balances_.entries(), store_.map());
  FillBalanceLine();
  FillChart();
  FillRegister();
}

void ForecastWindow::FillBalanceLine() {
  if (forecast_.startDate) {
    balanceLine_->setText(QStringLiteral("Balance on %1: %2")
                              .arg(Day(*forecast_.startDate), Money(forecast_.startBalance)));
  } else {
    balanceLine_->setText(
        QStringLiteral("No balance entered: the forecast starts at %1 today.").arg(Money(0)));
  }
  QString low = QStringLiteral("Lowest: %1 on %2.")
                    .arg(Money(forecast_.low.balance), Day(forecast_.low.date));
  if (forecast_.firstBelow) {
    low += QStringLiteral(" Balance below %1 on %2.")
               .arg(Money(warnBelow_), Day(*forecast_.firstBelow));
  }
  lowLine_->setText(low);
  QPalette palette = lowLine_->palette();
  palette.setColor(QPalette::WindowText, forecast_.firstBelow
                                             ? kBelowColour
                                             : this->palette().color(QPalette::WindowText));
  lowLine_->setPalette(palette);
}

void ForecastWindow::FillChart() {
  QList<QPointF> points;
  double low = FromCents(std::min(forecast_.low.balance, warnBelow_));
  double high = low;
  for (const DayBalance& day : forecast_.days) {
    points.append({static_cast<qreal>(ChartTime(day.date)), FromCents(day.balance)});
    high = std::max(high, FromCents(day.balance));
  }
  balance_->replace(points);
  const qreal first = points.front().x();
  const qreal last = points.back().x();
  warning_->replace({{first, FromCents(warnBelow_)}, {last, FromCents(warnBelow_)}});
  lowPoint_->replace(
      {{static_cast<qreal>(ChartTime(forecast_.low.date)), FromCents(forecast_.low.balance)}});
  dates_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(first)),
                   QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(last)));
  amounts_->setRange(low, high > low ? high : low + 1);
  amounts_->applyNiceNumbers();
}

void ForecastWindow::FillRegister() {
  register_->setRowCount(static_cast<int>(forecast_.items.size()));
  int row = 0;
  for (const ForecastItem& item : forecast_.items) {
    const QString amount = (item.amount > 0 ? QStringLiteral("+") : QString()) + Money(item.amount);
    const QStringList texts = {Day(item.date), QString::fromStdString(item.title), amount,
                               Money(item.balanceAfter)};
    for (int column = 0; column < texts.size(); ++column) {
      auto* cell = new QTableWidgetItem(texts[column]);
      if (column >= 2)
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (item.balanceAfter < warnBelow_)
        cell->setForeground(kBelowColour);
      else if (item.income && column == 2)
        cell->setForeground(kIncomeColour);
      register_->setItem(row, column, cell);
    }
    ++row;
  }
}

void ForecastWindow::Refresh() {
  const QVariant chosen = account_->currentData();
  const bool all = account_->currentIndex() <= 0;
  balances_.Load(store_.balanceFiles());
  FillAccounts();
  if (!all) {
    const int again = account_->findData(chosen);
    if (again > 0) {
      const QSignalBlocker quiet(account_);
      account_->setCurrentIndex(again);
    }
  } else {
    const QSignalBlocker quiet(account_);
    account_->setCurrentIndex(0);
  }
  Recompute();
}

Status ForecastWindow::UpdateBalance(double amount, const OleDateTime& on) {
  const BalanceEntry entry{"", ChosenAccount().value_or(""), on, amount, "", ""};
  const Result<BalanceEntry> added = balances_.Add(entry, clock_);
  if (!added.ok())
    return added.status();
  store_.NoteBalanceFile(BalanceFileName(added.value().entryId));
  Recompute();
  return Status::Ok();
}

void ForecastWindow::AskForBalance() {
  if (!ChosenAccount()) {
    QMessageBox::information(this, windowTitle(),
                             QStringLiteral("Choose the account whose balance you know."));
    return;
  }
  bool ok = false;
  const QString text =
      QInputDialog::getText(this, QStringLiteral("Update Balance"),
                            QStringLiteral("Balance of %1 now:").arg(account_->currentText()),
                            QLineEdit::Normal, QString(), &ok);
  if (!ok)
    return;
  const AmountMarks marks = LocaleAmountMarks();
  const auto parsed = ParseBalanceAmount(
      text.toStdString(), [&](std::string_view typed) { return ParseLocaleAmount(typed, marks); });
  if (const auto* message = std::get_if<Message>(&parsed)) {
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(MessageText(*message)));
    return;
  }
  if (const Status saved = UpdateBalance(std::get<double>(parsed), clock_.Now()); !saved.ok()) {
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("The balance was not saved: %1")
                             .arg(QString::fromStdString(saved.message())));
  }
}

}  // namespace paylark

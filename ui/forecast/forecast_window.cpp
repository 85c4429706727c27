#include "ui/forecast/forecast_window.h"

#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <clocale>
#include <map>

#include "core/base/text_encoding.h"
#include "core/forecast/account_key.h"
#include "core/forecast/balance_file.h"
#include "core/forecast/estimate.h"
#include "core/records/record_store.h"
#include "settings/user_settings.h"
#include "ui/base/date_conversion.h"
#include "ui/base/prompt.h"
#include "ui/forecast/forecast_register_model.h"
#include "ui/forecast/forecast_text.h"
#include "ui/forecast/register_view.h"
#include "ui/forecast/update_balance_dialog.h"
#include "ui/widgets/chart_over_table.h"
#include "ui/widgets/day_axis.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/screen_room.h"

namespace paylark {
namespace {

constexpr QSize kPreferredSize(900, 640);
constexpr int kHorizons[] = {30, 90, 180, 365};
constexpr double kFlatRange = 100;
constexpr int kAmountLines = 4;
const QColor kBelowColour(200, 0, 0);
const QColor kEstimateColour(230, 140, 0);

}  // namespace

ForecastWindow::ForecastWindow(RecordStore& store, const Clock& clock, Prompt& prompt,
                               QWidget* parent)
    : ForecastView(parent),
      store_(store),
      clock_(clock),
      prompt_(prompt),
      balances_(store.files(), RecordsFolderPath(store.workingDirectory())),
      warnBelow_(Cents{UserSettings::Read(settings::kForecastWarnBelow)} * 100),
      account_(new QComboBox),
      horizon_(new QComboBox),
      balanceLine_(new QLabel),
      lowLine_(new QLabel),
      registerModel_(new ForecastRegisterModel(this)),
      register_(new RegisterView) {
  setWindowTitle(QStringLiteral("Forecast"));
  UseFaceBackground(*this);
  balances_.Load(store.listing().balanceFiles);
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
  register_->setModel(registerModel_);
  register_->verticalHeader()->hide();
  // Every row is one line high: the view then never measures the rows it does not show.
  register_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  register_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  register_->setSelectionBehavior(QAbstractItemView::SelectRows);
  register_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

  auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(balanceRow);
  layout->addWidget(lowLine_);
  AddChartOverTable(*layout, *BuildChart(), *register_);
  layout->addWidget(close);
  FitWindow(*this, kPreferredSize);

  FillAccounts();
  connect(account_, &QComboBox::currentIndexChanged, this, &ForecastWindow::Recompute);
  connect(horizon_, &QComboBox::currentIndexChanged, this, &ForecastWindow::Recompute);
  connect(update, &QPushButton::clicked, this, &ForecastWindow::AskForBalance);
  Recompute();
}

QWidget* ForecastWindow::BuildChart() {
  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignRight);  // the height goes to the amount axis
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
  estimated_ = new QScatterSeries;
  estimated_->setName(QStringLiteral("\u2248 Estimated"));
  estimated_->setColor(kEstimateColour);
  estimated_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  estimated_->setMarkerSize(7);
  dates_ = new QCategoryAxis;
  amounts_ = new QValueAxis;
  amounts_->setLabelFormat(QStringLiteral("%.0f"));
  chart->addAxis(dates_, Qt::AlignBottom);
  chart->addAxis(amounts_, Qt::AlignLeft);
  for (QXYSeries* series :
       {static_cast<QXYSeries*>(balance_), static_cast<QXYSeries*>(warning_),
        static_cast<QXYSeries*>(lowPoint_), static_cast<QXYSeries*>(estimated_)}) {
    chart->addSeries(series);
    series->attachAxis(dates_);
    series->attachAxis(amounts_);
  }
  chart_ = new QChartView(chart);
  chart_->setObjectName(QStringLiteral("chart"));
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setMinimumWidth(320);
  return chart_;
}

// "All accounts", then each account that a due or a balance entry names, once however its
// letter case or blanks differ, then "(no account)".
void ForecastWindow::FillAccounts() {
  std::map<std::string, std::string> names = AccountsByKey(store_.map());
  for (auto& [key, name] : names)
    name = TrimWhiteSpace(name);
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

// The register's rows view the forecast, which goes before the window's children do.
ForecastWindow::~ForecastWindow() {
  registerModel_->Clear();
}

std::optional<std::string> ForecastWindow::ChosenAccount() const {
  if (account_->currentIndex() <= 0)
    return std::nullopt;
  return account_->currentData().toString().toStdString();
}

void ForecastWindow::Recompute() {
  const ForecastRequest request{
      ChosenAccount(), clock_.Now(), horizon_->currentData().toInt(), warnBelow_,
      EstimateNamed(UserSettings::Read(settings::kForecastEstimate).toStdString())};
  forecast_ = MakeForecast(request, balances_.entries(), store_.map());
  FillBalanceLine();
  FillChart();
  registerModel_->Show(forecast_, warnBelow_);
}

void ForecastWindow::FillBalanceLine() {
  if (forecast_.startDate) {
    balanceLine_->setText(
        QStringLiteral("Balance on %1: %2")
            .arg(DayText(*forecast_.startDate), MoneyText(forecast_.startBalance)));
  } else {
    balanceLine_->setText(
        QStringLiteral("No balance entered: the forecast starts at %1 today.").arg(MoneyText(0)));
  }
  QString low = QStringLiteral("Lowest: %1 on %2.")
                    .arg(MoneyText(forecast_.low.balance), DayText(forecast_.low.date));
  if (forecast_.firstBelow) {
    low += QStringLiteral(" Balance below %1 on %2.")
               .arg(MoneyText(warnBelow_), DayText(*forecast_.firstBelow));
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
  std::vector<OleDateTime> days;
  days.reserve(forecast_.days.size());
  double low = FromCents(std::min(forecast_.low.balance, warnBelow_));
  double high = low;
  for (const DayBalance& day : forecast_.days) {
    points.append({DayAxisValue(day.date), FromCents(day.balance)});
    days.push_back(day.date);
    high = std::max(high, FromCents(day.balance));
  }
  balance_->replace(points);
  const qreal first = points.front().x();
  const qreal last = points.back().x();
  warning_->replace({{first, FromCents(warnBelow_)}, {last, FromCents(warnBelow_)}});
  lowPoint_->replace({{DayAxisValue(forecast_.low.date), FromCents(forecast_.low.balance)}});
  // Each bill counted at its series' estimate, at the balance after it.
  QList<QPointF> estimates;
  for (const ForecastItem& item : forecast_.items) {
    if (item.estimated)
      estimates.append({DayAxisValue(item.date), FromCents(item.balanceAfter)});
  }
  estimated_->replace(estimates);
  FillDayAxis(*dates_, days);
  // Whole amounts on four lines: a flat balance (no entry, no dues) still reads "0" to "100"
  // rather than six labels of "0" and "1" too close to show.
  amounts_->setRange(low, high > low ? high : low + kFlatRange);
  amounts_->setTickCount(kAmountLines);
  amounts_->applyNiceNumbers();
}

void ForecastWindow::Refresh() {
  const QVariant chosen = account_->currentData();
  const bool all = account_->currentIndex() <= 0;
  balances_.Load(store_.listing().balanceFiles);
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
    prompt_.Tell(this, QStringLiteral("Choose the account whose balance you know."),
                 PromptIcon::kInformation);
    return;
  }
  UpdateBalanceDialog dialog(account_->currentText(), clock_.Now(), prompt_, this);
  if (dialog.exec() != QDialog::Accepted)
    return;
  if (const Status saved = UpdateBalance(dialog.amount(), dialog.on()); !saved.ok()) {
    prompt_.Tell(this,
                 QStringLiteral("The balance was not saved: %1")
                     .arg(QString::fromStdString(saved.message())),
                 PromptIcon::kWarning);
  }
}

Result<std::unique_ptr<ForecastView>> MakeForecastWindow(RecordStore& store, const Clock& clock,
                                                         Prompt& prompt, QWidget* parent) {
  return std::unique_ptr<ForecastView>(
      std::make_unique<ForecastWindow>(store, clock, prompt, parent));
}

}  // namespace paylark

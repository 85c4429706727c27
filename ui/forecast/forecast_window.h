#pragma once

#include <vector>

#include "core/forecast/balance_book.h"
#include "core/forecast/forecast.h"
#include "ui/forecast/forecast_view.h"

class QComboBox;
class QChartView;
class QCategoryAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QLabel;
class QTableView;

namespace paylark {

class Clock;
class ForecastRegisterModel;
class Prompt;
class RecordStore;

// View → Forecast: an account's balance day by day from its newest balance entry, as a line
// chart with the low point and the warning level marked, and the register of coming dues and
// incomes with the running balance (rows below the warning level in red). The figures come from
// MakeForecast, as the command line's do; the window computes again only when the account, the
// horizon, a balance entry, the records or the day change.
class ForecastWindow final : public ForecastView {
  Q_OBJECT

 public:
  ForecastWindow(RecordStore& store, const Clock& clock, Prompt& prompt, QWidget* parent = nullptr);
  ~ForecastWindow() override;

  const Forecast& forecast() const { return forecast_; }
  // Adds a balance entry for the chosen account and shows the forecast from it.
  [[nodiscard]] Status UpdateBalance(double amount, const OleDateTime& on);
  void Refresh() override;

 private:
  QWidget* BuildChart();
  void FillAccounts();
  void Recompute();
  void FillBalanceLine();
  void FillChart();
  void AskForBalance();
  std::optional<std::string> ChosenAccount() const;

  RecordStore& store_;
  const Clock& clock_;
  Prompt& prompt_;
  BalanceBook balances_;
  Cents warnBelow_ = 0;
  Forecast forecast_;
  QComboBox* account_;
  QComboBox* horizon_;
  QLabel* balanceLine_;
  QLabel* lowLine_;
  QChartView* chart_ = nullptr;
  QLineSeries* balance_ = nullptr;
  QLineSeries* warning_ = nullptr;
  QScatterSeries* lowPoint_ = nullptr;
  QScatterSeries* estimated_ = nullptr;  // the bills counted at an estimate
  QCategoryAxis* dates_ = nullptr;
  QValueAxis* amounts_ = nullptr;
  ForecastRegisterModel* registerModel_;
  QTableView* register_;
};

}  // namespace paylark

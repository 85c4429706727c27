// Speed of the forecast: it is computed again whenever the dues or the day change, so a year
// ahead over every due must stay well inside a frame.

#include <clocale>
#include <string>

#include "bench/bench_support.h"
#include "core/forecast/forecast.h"

namespace paylark::bench {
namespace {

constexpr int kDues = 100'000;

OleDateTime At(int y, int mo, int d) {
  return *OleDateTime::FromCivil(y, mo, d, 9, 30, 0);
}

// 100,000 dues over the two years around now, in seven accounts, half of them paid, one in ten
// an income; all in 5,000 series of twenty whose paid amounts vary, so that every unpaid bill of
// the horizon is counted at its series' estimate.
void Fill(DueMap& dues, bool oneAccount) {
  for (int i = 0; i < kDues; ++i) {
    DueRecord record;
    record.recordId = std::to_string(20260000000000LL + i);
    record.title = "Monthly bill " + std::to_string(i);
    record.account = oneAccount ? "Checking" : "Account " + std::to_string(i % 7);
    record.amount = 40.25 + i % 100;
    record.type = i % 10 == 0 ? kTypeIncome : kTypePersonal;
    record.dueDate = At(2026 + (i % 24) / 12, 1 + i % 12, 1 + i % 28);
    record.paid = i % 2;
    record.seriesId = "series-" + std::to_string(i % 5000);
    if (record.paid != 0)
      record.paidAmount = record.amount + (i % 7) * 0.5;
    dues.Set(record);
  }
}

}  // namespace

int Main() {
  std::setlocale(LC_ALL, "en_US.UTF-8");
  const std::vector<BalanceEntry> balances = {{"1", "Checking", At(2026, 11, 30), 5000, "", ""},
                                              {"2", "Account 3", At(2026, 11, 30), 10, "", ""}};
  std::size_t days = 0;
  {
    DueMap dues;
    Fill(dues, true);
    const ForecastRequest request{"Checking", At(2026, 12, 6), 90, 0, kDefaultEstimate};
    PrintFigure("forecast_100k_90d_ms", 1000 * BestSeconds(5, [&] {
                                          days += MakeForecast(request, balances, dues).days.size();
                                        }));
  }
  DueMap dues;
  Fill(dues, false);
  const ForecastRequest request{std::nullopt, At(2026, 12, 6), 365, 0, kDefaultEstimate};
  PrintFigure(
      "forecast_100k_365d_all_ms",
      1000 * BestSeconds(5, [&] { days += MakeForecast(request, balances, dues).days.size(); }));
  return days > 0 ? 0 : 1;
}

}  // namespace paylark::bench

int main() {
  return paylark::bench::Main();
}

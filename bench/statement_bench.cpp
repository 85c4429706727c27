// Speed of matching a statement to the dues: a year of a busy account's bookings against every
// due must match while the preview opens.

#include <clocale>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/statements/statement_matching.h"

namespace paylark::bench {
namespace {

constexpr int kDues = 100'000;
constexpr int kTransactions = 5'000;
constexpr int kPayees = 200;

OleDateTime Day(int dayOfPeriod) {
  return *OleDateTime::FromCivil(2026, 1, 1)->AddDays(dayOfPeriod);
}

double AmountOf(int i) {
  return 10.0 + (i % kPayees) * 4.95;
}

// 100,000 dues over two years from 2026 and 200 payees, each with an amount of its own. In the
// usual library they are spread over seven accounts and half of them are paid; in the crowded one
// all are unpaid dues of the statement's account: some 140 a day, 2,000 in a booking's window.
void Fill(DueMap& dues, bool crowded) {
  for (int i = 0; i < kDues; ++i) {
    DueRecord record;
    record.recordId = std::to_string(20260000000000LL + i);
    record.title = "Rechnung " + std::to_string(i);
    record.payTo = "Zahlungsempfänger Nummer " + std::to_string(i % kPayees);
    record.account = crowded ? "Girokonto" : "Konto " + std::to_string(i % 7);
    record.amount = AmountOf(i);
    record.dueDate = Day(i % 730);
    record.paid = crowded ? 0 : (i / 7) % 2;
    dues.Set(record);
  }
}

// 5,000 bookings of the statement's account, each paying one of its unpaid dues a day or two
// late and a few cents off.
Statement Bookings(const DueMap& dues) {
  std::vector<DueRecord> open;
  dues.ForEach([&](const DueRecord& record) {
    if (record.account == "Girokonto" || (record.account == "Konto 0" && !IsPaid(record)))
      open.push_back(record);
  });
  Statement statement;
  statement.account = open.front().account;
  for (int t = 0; t < kTransactions; ++t) {
    const DueRecord& due = open[static_cast<std::size_t>(t) * open.size() / kTransactions];
    statement.transactions.push_back(
        {"TX" + std::to_string(t), *due.dueDate.AddDays(t % 3), -ToCents(due.amount) - t % 5,
         "ZAHLUNGSEMPFAENGER NR " + due.payTo.substr(due.payTo.rfind(' ') + 1),
         "SEPA Lastschrift"});
  }
  return statement;
}

double MatchMilliseconds(bool crowded) {
  DueMap dues;
  Fill(dues, crowded);
  const Statement statement = Bookings(dues);
  std::size_t matched = 0;
  const double seconds =
      BestSeconds(3, [&] { matched += MatchStatement(statement, dues, {}).matches.size(); });
  return matched > 0 ? 1000 * seconds : -1;
}

}  // namespace

int Main() {
  std::setlocale(LC_ALL, "en_US.UTF-8");
  PrintFigure("statement_match_5k_tx_100k_dues_ms", MatchMilliseconds(false));
  PrintFigure("statement_match_5k_tx_100k_dues_one_account_unpaid_ms", MatchMilliseconds(true));
  return 0;
}

}  // namespace paylark::bench

int main() {
  return paylark::bench::Main();
}

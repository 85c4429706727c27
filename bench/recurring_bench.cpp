// Speed of finding the recurring bills in two years of a busy account: 24 monthly statements of
// 3,000 bookings each, read once and searched while the window's list fills.

#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/records/due_map.h"
#include "core/statements/recurring/series_suggestions.h"

namespace paylark::bench {
namespace {

constexpr int kMonths = 24;
constexpr int kBookingsPerMonth = 3'000;
constexpr int kMonthlyPayees = 60;
constexpr int kShops = 700;

// Names without digits, so that none is folded into another: "Bakaro Delimu", ...
std::string NameOf(int number) {
  static const char* const kSyllables[] = {"ba", "ka", "ro", "de", "li", "mu", "so", "ti",
                                           "ve", "no", "ra", "zu", "pe", "lo", "gi", "fa"};
  std::string name;
  for (int part = 0; part < 4; ++part) {
    name += kSyllables[number % 16];
    number /= 16;
    if (part == 1)
      name += ' ';
  }
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

StatementTransaction Booking(int month, int day, Cents amount, std::string counterparty,
                             int number) {
  StatementTransaction booking;
  booking.id = "B" + std::to_string(month) + "-" + std::to_string(number);
  booking.bookingDate = *OleDateTime::FromCivil(2025 + month / 12, month % 12 + 1, day);
  booking.amount = amount;
  booking.counterparty = std::move(counterparty);
  booking.memo = "Card payment " + std::to_string(number);
  return booking;
}

// One month: the monthly bills on their days, a salary, and shops filling the rest.
Statement MonthStatement(int month) {
  Statement statement;
  statement.account = "Business";
  statement.bankAccount = "DE02120300000000202051";
  for (int payee = 0; payee < kMonthlyPayees; ++payee) {
    statement.transactions.push_back(
        Booking(month, 1 + payee % 28, -(1000 + payee * 137), NameOf(payee + 5000), payee));
  }
  statement.transactions.push_back(Booking(month, 25, 480000, "Payroll Services", 99));
  for (int i = static_cast<int>(statement.transactions.size()); i < kBookingsPerMonth; ++i) {
    const int shop = (i * 7919 + month * 104729) % kShops;
    statement.transactions.push_back(
        Booking(month, 1 + (i * 31) % 28, -(300 + (i * 6007) % 20000), NameOf(shop), i));
  }
  return statement;
}

}  // namespace
}  // namespace paylark::bench

int main() {
  using namespace paylark;
  std::vector<Statement> statements;
  statements.reserve(bench::kMonths);
  for (int month = 0; month < bench::kMonths; ++month)
    statements.push_back(bench::MonthStatement(month));
  const DueMap dues;
  std::size_t found = 0;
  const double seconds =
      bench::BestSeconds(3, [&] { found = SuggestSeries(statements, dues).suggestions.size(); });
  if (found < bench::kMonthlyPayees)
    return 1;
  bench::PrintFigure("suggest_series_24_months_3k_tx_ms", seconds * 1000.0);
  return 0;
}

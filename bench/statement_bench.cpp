// Speed of matching a statement to the dues: a year of a busy account's bookings against every
// due must match while the preview opens; and of a user catching up with a year of monthly
// statements, read, matched and imported one after another.

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/forecast/balance_book.h"
#include "core/statements/statement_import.h"
#include "core/statements/statement_matching.h"
#include "core/statements/statement_reading.h"

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
    StatementTransaction& booking = statement.transactions.emplace_back();
    booking.id = "TX" + std::to_string(t);
    booking.bookingDate = *due.dueDate.AddDays(t % 3);
    booking.amount = -ToCents(due.amount) - t % 5;
    booking.counterparty = "ZAHLUNGSEMPFAENGER NR " + due.payTo.substr(due.payTo.rfind(' ') + 1);
    booking.memo = "SEPA Lastschrift";
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

constexpr int kMonths = 12;
constexpr int kMonthlyBookings = 300;
constexpr int kYearDues = 2'000;

// Due i of the year: 50 payees, due on a day of its month, amounts of their own.
int MonthOfDue(int i) {
  return 1 + i % kMonths;
}
int DayOfDue(int i) {
  return 1 + (i / kMonths) % 28;
}
std::string AmountText(int i) {
  return std::to_string(20 + i % 50 * 3) + "." + std::to_string(10 + i % 89);
}

// A month's statement in OFX: first the bookings paying that month's dues on their day under the
// payee's name, then card purchases that pay nothing, 300 in all, at times in the bank's zone.
std::string MonthlyOfx(int month) {
  std::string text =
      "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
      "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n<OFX>\n"
      "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS><STMTRS>"
      "<CURDEF>USD<BANKACCTFROM><BANKID>021000021<ACCTID>123456789<ACCTTYPE>CHECKING"
      "</BANKACCTFROM><BANKTRANLIST>\n";
  char date[48];
  int written = 0;
  for (int i = month - 1; i < kYearDues && written < kMonthlyBookings; i += kMonths, ++written) {
    std::snprintf(date, sizeof date, "2026%02d%02d230000.000[-5:EST]", month, DayOfDue(i));
    text += "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>" + std::string(date) + "<TRNAMT>-" + AmountText(i) +
            "<FITID>M" + std::to_string(month) + "-" + std::to_string(i) + "<NAME>PAYEE " +
            std::to_string(i % 50) + "</STMTTRN>\n";
  }
  for (int extra = 0; written < kMonthlyBookings; ++written, ++extra) {
    std::snprintf(date, sizeof date, "2026%02d%02d120000.000[-5:EST]", month, 1 + extra % 28);
    text += "<STMTTRN><TRNTYPE>POS<DTPOSTED>" + std::string(date) + "<TRNAMT>-" +
            std::to_string(3 + extra % 40) + ".99<FITID>C" + std::to_string(month) + "-" +
            std::to_string(extra) + "<NAME>CORNER SHOP " + std::to_string(extra % 9) +
            "</STMTTRN>\n";
  }
  return text +
         "</BANKTRANLIST><LEDGERBAL><BALAMT>1000.00<DTASOF>20261231</LEDGERBAL></STMTRS>"
         "</STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

// Twelve statements imported one after another into a store of 2,000 dues on disk: each read,
// matched against every due and its sure matches and balance written as one batch.
double CatchUpMilliseconds() {
  const FixedClock clock(*OleDateTime::FromCivil(2027, 1, 2, 9, 0, 0));
  ScratchStore scratch(clock);
  RecordStore& store = scratch.store();
  {
    StoreBatch batch(store);
    for (int i = 0; i < kYearDues; ++i) {
      DueRecord record = DueRecord::WithDefaults(clock);
      record.title = "Bill " + std::to_string(i);
      record.payTo = "Payee " + std::to_string(i % 50);
      record.account = "Checking";
      record.amount = std::stod(AmountText(i));
      record.dueDate = *OleDateTime::FromCivil(2026, MonthOfDue(i), DayOfDue(i));
      (void)store.Add(record);
    }
    (void)batch.Finish();
  }
  std::vector<std::string> statements;
  for (int month = 1; month <= kMonths; ++month)
    statements.push_back(MonthlyOfx(month));
  std::size_t paid = 0;
  const double seconds = Seconds([&] {
    for (const std::string& bytes : statements) {
      Result<Statement> read = ReadStatementBytes(bytes, std::nullopt);
      if (!read.ok())
        return;
      Statement statement = std::move(read).value();
      statement.account = "Checking";
      StatementImportChoice choice;
      for (const StatementMatch& match : MatchStatement(statement, store.map(), {}).matches) {
        if (match.sure)
          choice.accepted.push_back(match);
      }
      BalanceBook balances(store.files(), RecordsFolderPath(store.workingDirectory()));
      balances.Load(store.listing().balanceFiles);
      const auto imported = ImportStatement(statement, choice, "month.ofx", store, balances, clock);
      paid += imported.ok() ? imported.value().markedPaid : 0;
    }
  });
  return paid == kYearDues ? 1000 * seconds : -1;
}

}  // namespace

int Main() {
  std::setlocale(LC_ALL, "en_US.UTF-8");
  PrintFigure("statement_match_5k_tx_100k_dues_ms", MatchMilliseconds(false));
  PrintFigure("statement_match_5k_tx_100k_dues_one_account_unpaid_ms", MatchMilliseconds(true));
  PrintFigure("statement_import_12_months_ofx_ms", CatchUpMilliseconds());
  return 0;
}

}  // namespace paylark::bench

int main() {
  return paylark::bench::Main();
}

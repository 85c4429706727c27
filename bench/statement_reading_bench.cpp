// Speed of reading bank statements: a year of a busy account is a few thousand bookings, and the
// import window reads the file before it shows anything.

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "core/statements/bank_csv_reader.h"
#include "core/statements/camt_reader.h"
#include "core/statements/ofx_reader.h"
#include "core/statements/statement_reading.h"

namespace paylark::bench {
namespace {

constexpr int kTransactions = 10'000;

std::string Date(int index, const char* form) {
  char text[16];
  std::snprintf(text, sizeof text, form, 2026, 1 + index % 12, 1 + index % 28);
  return text;
}

std::string Amount(int index) {
  return std::to_string(index % 3 == 0 ? 1000 + index % 500 : -(index % 997)) + ".25";
}

std::string OfxStatement() {
  std::string text =
      "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
      "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n<OFX>\n"
      "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS><STMTRS>"
      "<CURDEF>USD<BANKACCTFROM><BANKID>123456789<ACCTID>00442211<ACCTTYPE>CHECKING"
      "</BANKACCTFROM><BANKTRANLIST><DTSTART>20260101<DTEND>20261231\n";
  for (int i = 0; i < kTransactions; ++i) {
    text += "<STMTTRN><TRNTYPE>OTHER<DTPOSTED>" + Date(i, "%04d%02d%02d") + "<TRNAMT>" + Amount(i) +
            "<FITID>BENCH-" + std::to_string(i) + "<NAME>Payee number " + std::to_string(i % 250) +
            "<MEMO>Invoice " + std::to_string(i) + "</STMTTRN>\n";
  }
  return text +
         "</BANKTRANLIST><LEDGERBAL><BALAMT>1000.00<DTASOF>20261231</LEDGERBAL></STMTRS>"
         "</STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

std::string CamtStatement() {
  std::string text =
      "<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:"
      "camt.053.001.08\"><BkToCstmrStmt><Stmt><Acct><Id><IBAN>DE02120300000000202051"
      "</IBAN></Id></Acct>\n";
  for (int i = 0; i < kTransactions; ++i) {
    const std::string amount = Amount(i);
    const bool debit = amount.front() == '-';
    text += "<Ntry><Amt Ccy=\"EUR\">" + (debit ? amount.substr(1) : amount) + "</Amt><CdtDbtInd>" +
            (debit ? "DBIT" : "CRDT") + "</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts><BookgDt><Dt>" +
            Date(i, "%04d-%02d-%02d") + "</Dt></BookgDt><AcctSvcrRef>B" + std::to_string(i) +
            "</AcctSvcrRef><NtryDtls><TxDtls><RltdPties><Cdtr><Pty><Nm>Payee " +
            std::to_string(i % 250) + "</Nm></Pty></Cdtr></RltdPties><RmtInf><Ustrd>Invoice " +
            std::to_string(i) + "</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>\n";
  }
  return text + "</Stmt></BkToCstmrStmt></Document>\n";
}

std::string BankCsv() {
  std::string text = "Buchungstag;Auftraggeber/Empf\xC3\xA4nger;Verwendungszweck;Betrag\n";
  for (int i = 0; i < kTransactions; ++i) {
    std::string amount = Amount(i);
    amount.replace(amount.find('.'), 1, ",");
    text += Date(i, "%3$02d.%2$02d.%1$04d") + ";Payee " + std::to_string(i % 250) + ";Invoice " +
            std::to_string(i) + ";" + amount + "\n";
  }
  return text;
}

template <class Read>
double ReadMilliseconds(const std::string& bytes, Read&& read) {
  std::size_t readCount = 0;
  const double seconds = BestSeconds(3, [&] {
    const Result<Statement> statement = read(bytes);
    readCount = statement.ok() ? statement.value().transactions.size() : 0;
  });
  if (readCount != kTransactions)
    std::fprintf(stderr, "read %zu of %d transactions\n", readCount, kTransactions);
  return 1000 * seconds;
}

}  // namespace

int Main() {
  PrintFigure("ofx_read_10k_tx_ms", ReadMilliseconds(OfxStatement(), [](const std::string& b) {
                return ReadOfxStatement(b);
              }));
  PrintFigure("camt_read_10k_tx_ms", ReadMilliseconds(CamtStatement(), [](const std::string& b) {
                return ReadCamtStatement(b);
              }));
  const std::string csv = BankCsv();
  PrintFigure("bank_csv_read_10k_rows_ms", ReadMilliseconds(csv, [](const std::string& b) {
                const Result<BankCsvShape> shape = DetectBankCsvShape(b);
                return shape.ok() ? ReadBankCsvStatement(b, shape.value().guessedColumns)
                                  : Result<Statement>(shape.status());
              }));
  return 0;
}

}  // namespace paylark::bench

int main() {
  return paylark::bench::Main();
}

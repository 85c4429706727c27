#include "core/statements/ofx_reader.h"

#include <libofx/libofx.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/base/text_encoding.h"
#include "core/base/written_date.h"
#include "core/statements/libofx_folder.h"
#include "core/statements/libofx_input.h"
#include "core/statements/ofx_nesting.h"
#include "core/statements/transaction_fingerprint.h"

namespace paylark {
namespace {

// LibOFX keeps its message switches in globals and is not made for several parses at once.
std::mutex libofxMutex;

struct OfxTransaction {
  std::string account;
  StatementTransaction transaction;
  bool hasId = false;
};

struct Collected {
  std::string account;
  std::string currency;
  // Each STMTTRN's CURSYM in file order, which LibOFX reads but does not hand on.
  std::vector<std::string> transactionCurrencies;
  std::size_t transactionsSeen = 0;
  std::set<std::string> accounts;
  std::optional<OleDateTime> periodStart;
  std::optional<OleDateTime> periodEnd;
  std::optional<StatementBalance> closingBalance;
  bool sawStatement = false;
  std::vector<OfxTransaction> transactions;
};

std::string Text(const char* text) {
  const std::string_view view(text, strnlen(text, 4096));
  return IsValidUtf8(view) ? std::string(view) : Windows1252ToUtf8(view);
}

// The day a date of the file names: DatesAsWritten put every date at noon UTC of its own day.
OleDateTime WrittenDay(std::time_t time) {
  std::tm day{};
  gmtime_r(&time, &day);
  return OleDateTime::FromCivil(day.tm_year + 1900, day.tm_mon + 1, day.tm_mday)
      .value_or(OleDateTime(0.0, OleDateTime::Status::kInvalid));
}

int OnAccount(const OfxAccountData data, void* user) {
  auto& collected = *static_cast<Collected*>(user);
  if (data.account_id_valid)
    collected.accounts.insert(data.account_id);
  if (collected.account.empty())
    collected.account = data.account_number_valid ? Text(data.account_number)
                        : data.account_id_valid   ? Text(data.account_name)
                                                  : std::string();
  return 0;
}

int OnStatement(const OfxStatementData data, void* user) {
  auto& collected = *static_cast<Collected*>(user);
  collected.sawStatement = true;
  if (data.account_id_valid)
    collected.accounts.insert(data.account_id);
  if (data.currency_valid)
    collected.currency = Text(data.currency);
  if (data.date_start_valid)
    collected.periodStart = WrittenDay(data.date_start);
  if (data.date_end_valid)
    collected.periodEnd = WrittenDay(data.date_end);
  // A balance without the day it stood on says nothing a balance entry could keep.
  if (data.ledger_balance_valid && (data.ledger_balance_date_valid || data.date_end_valid)) {
    const std::time_t asOf =
        data.ledger_balance_date_valid ? data.ledger_balance_date : data.date_end;
    collected.closingBalance = StatementBalance{WrittenDay(asOf), ToCents(data.ledger_balance)};
  }
  return 0;
}

int OnTransaction(const OfxTransactionData data, void* user) {
  auto& collected = *static_cast<Collected*>(user);
  const std::size_t index = collected.transactionsSeen++;
  if (!data.amount_valid || !data.date_posted_valid)
    return 0;
  OfxTransaction found;
  found.account = data.account_id_valid ? data.account_id : "";
  found.hasId = data.fi_id_valid && data.fi_id[0] != '\0';
  StatementTransaction& transaction = found.transaction;
  if (found.hasId)
    transaction.id = Text(data.fi_id);
  transaction.bookingDate = WrittenDay(data.date_posted);
  transaction.amount = ToCents(data.amount);
  if (data.name_valid)
    transaction.counterparty = Text(data.name);
  if (data.memo_valid)
    transaction.memo = Text(data.memo);
  if (data.amounts_are_foreign_currency_valid && index < collected.transactionCurrencies.size())
    transaction.currency = collected.transactionCurrencies[index];
  collected.transactions.push_back(std::move(found));
  return 0;
}

// LibOFX gives a payee only as NAME: a PAYEE aggregate (which stands where NAME would) is
// written as the NAME it holds, so its name reaches the transaction.
std::string PayeesAsNames(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (;;) {
    const std::size_t start = bytes.find("<PAYEE>");
    const std::size_t end = bytes.find("</PAYEE>", start);
    if (start == std::string_view::npos || end == std::string_view::npos)
      break;
    const std::string_view aggregate = bytes.substr(start, end - start);
    std::string_view name;
    if (const std::size_t at = aggregate.find("<NAME>"); at != std::string_view::npos) {
      name = aggregate.substr(at + 6);
      name = TrimWhiteSpace(name.substr(0, name.find('<')));
    }
    out.append(bytes.substr(0, start));
    out.append("<NAME>").append(name).append("</NAME>");
    bytes.remove_prefix(end + 8);
  }
  out.append(bytes);
  return out;
}

// Every date element's value becomes noon UTC of the day it writes, in whatever offset the bank
// wrote it: "20261130230000.000[-5:EST]" is 30 Nov whatever the user's time zone, and LibOFX,
// which converts to an instant, can no longer move it to another day. A date that is no day of
// the calendar refuses the file: LibOFX would carry "20261409" into February without a word.
Result<std::string> DatesAsWritten(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0;;) {
    const std::size_t tag = bytes.find("<DT", at);
    const std::size_t close = bytes.find('>', tag);
    if (tag == std::string_view::npos || close == std::string_view::npos) {
      out.append(bytes.substr(at));
      return out;
    }
    out.append(bytes.substr(at, close + 1 - at));
    std::size_t valueEnd = bytes.find_first_of("<\r\n", close + 1);
    if (valueEnd == std::string_view::npos)
      valueEnd = bytes.size();
    const std::string_view value = TrimWhiteSpace(bytes.substr(close + 1, valueEnd - close - 1));
    const std::string_view day = value.substr(0, 8);
    const bool dated =
        day.size() == 8 && day.find_first_not_of("0123456789") == std::string_view::npos;
    if (dated && !WrittenDate(day)) {
      const std::size_t nameEnd = bytes.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ", tag + 1);
      return Status::Corrupt("The OFX file writes the date " + std::string(day) + " in its " +
                             std::string(bytes.substr(tag + 1, nameEnd - tag - 1)) +
                             " element, and that is no day of the calendar. Download the "
                             "statement from the bank again.");
    }
    out.append(dated ? std::string(day) + "120000[0:GMT]"
                     : std::string(bytes.substr(close + 1, valueEnd - close - 1)));
    at = valueEnd;
  }
}

// The CURSYM of each STMTTRN aggregate in file order; empty for one without.
std::vector<std::string> TransactionCurrencies(std::string_view bytes) {
  std::vector<std::string> currencies;
  for (std::size_t at = bytes.find("<STMTTRN>"); at != std::string_view::npos;) {
    const std::size_t next = bytes.find("<STMTTRN>", at + 1);
    const std::string_view aggregate =
        bytes.substr(at, next == std::string_view::npos ? next : next - at);
    std::string_view symbol;
    if (const std::size_t tag = aggregate.find("<CURSYM>"); tag != std::string_view::npos) {
      symbol = aggregate.substr(tag + 8);
      symbol = TrimWhiteSpace(symbol.substr(0, symbol.find_first_of("<\r\n")));
    }
    currencies.emplace_back(symbol);
    at = next;
  }
  return currencies;
}

void SilenceLibofx() {
  ofx_PARSER_msg = ofx_DEBUG_msg = ofx_DEBUG1_msg = ofx_DEBUG2_msg = ofx_DEBUG3_msg = 0;
  ofx_DEBUG4_msg = ofx_DEBUG5_msg = ofx_STATUS_msg = ofx_INFO_msg = ofx_WARNING_msg = 0;
  ofx_ERROR_msg = ofx_show_position = 0;
}

Result<Collected> RunLibofx(const std::string& path,
                            std::vector<std::string> transactionCurrencies) {
  Collected collected;
  collected.transactionCurrencies = std::move(transactionCurrencies);
  const std::lock_guard lock(libofxMutex);
  PAYLARK_TRY_ASSIGN(const std::unique_ptr<LibofxFolder> folder,
                     LibofxFolder::Make(SystemFileSystem()));
  SilenceLibofx();
  LibofxContextPtr context = libofx_get_new_context();
  ofx_set_account_cb(context, OnAccount, &collected);
  ofx_set_statement_cb(context, OnStatement, &collected);
  ofx_set_transaction_cb(context, OnTransaction, &collected);
  // The result says little: a statement LibOFX could not read shows as callbacks not made.
  (void)libofx_proc_file(context, path.c_str(), OFX);
  libofx_free_context(context);
  return collected;
}

bool HoldsTag(std::string_view bytes, std::string_view tag) {
  std::string upper(bytes);
  for (char& c : upper)
    c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return upper.find(tag) != std::string::npos;
}

// OFX opens its root after a short header and closes it in both its forms; a download cut short
// lacks the closing tag.
constexpr std::size_t kEnds = 4096;
bool OpensRoot(std::string_view bytes) {
  return HoldsTag(bytes.substr(0, kEnds), "<OFX>");
}
bool ClosesRoot(std::string_view bytes) {
  return HoldsTag(bytes.substr(bytes.size() > kEnds ? bytes.size() - kEnds : 0), "</OFX>");
}

Statement MakeStatement(Collected collected) {
  Statement statement;
  statement.bankAccount = std::move(collected.account);
  statement.currency = collected.currency;
  statement.periodStart = collected.periodStart;
  statement.periodEnd = collected.periodEnd;
  statement.closingBalance = collected.closingBalance;
  TransactionFingerprints fingerprints;
  for (OfxTransaction& found : collected.transactions) {
    StatementTransaction& transaction = found.transaction;
    if (transaction.currency == statement.currency)
      transaction.currency.clear();
    if (!found.hasId) {
      transaction.id = fingerprints.Next({std::to_string(transaction.bookingDate.value()),
                                          std::to_string(transaction.amount),
                                          transaction.counterparty, transaction.memo});
    }
    statement.transactions.push_back(std::move(transaction));
  }
  return statement;
}

}  // namespace

Result<Statement> ReadOfxStatement(std::string_view bytes) {
  if (!OpensRoot(bytes))
    return Status::Corrupt("The file is not an OFX or QFX statement.");
  if (!ClosesRoot(bytes))
    return Status::Corrupt(
        "The OFX file ends before its closing </OFX> tag: it was cut off, perhaps while "
        "downloading. Download the statement from the bank again.");
  if (OfxNestingDepth(bytes, kOfxNestingLimit) > kOfxNestingLimit)
    return Status::Corrupt("The OFX file nests its aggregates more than " +
                           std::to_string(kOfxNestingLimit) +
                           " deep, deeper than any bank statement does: it is not a statement.");
  PAYLARK_TRY_ASSIGN(const std::string dated, DatesAsWritten(PayeesAsNames(bytes)));
  PAYLARK_TRY_ASSIGN(const std::unique_ptr<LibofxInput> input, LibofxInput::Write(dated));
  PAYLARK_TRY_ASSIGN(Collected collected, RunLibofx(input->path(), TransactionCurrencies(bytes)));
  if (!collected.sawStatement && collected.transactions.empty())
    return Status::Corrupt("The file holds no bank or credit card statement that LibOFX can read.");
  for (const OfxTransaction& found : collected.transactions) {
    if (!found.account.empty())
      collected.accounts.insert(found.account);
  }
  if (collected.accounts.size() > 1)
    return Status::InvalidArgument(
        "The file holds the statements of " + std::to_string(collected.accounts.size()) +
        " accounts. Download one statement for each account and import them one by one.");
  return MakeStatement(std::move(collected));
}

}  // namespace paylark

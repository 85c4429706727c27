#include "core/statements/camt_reader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/base/text_encoding.h"
#include "core/statements/camt_entry.h"
#include "core/statements/camt_tree.h"

namespace paylark {
namespace {

constexpr std::string_view kCamt053 = "urn:iso:std:iso:20022:tech:xsd:camt.053.001.";
constexpr std::string_view kIso20022 = "urn:iso:std:iso:20022:tech:xsd:";

struct DocumentFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentFree>;

Status NotCamt() {
  return Status::InvalidArgument(
      "The file is not a CAMT.053 bank statement (an ISO 20022 XML document).");
}

Result<Document> Parse(std::string_view bytes) {
  static std::once_flag initialized;
  std::call_once(initialized, [] { xmlInitParser(); });
  // Entity substitution (XML_PARSE_NOENT) and DTD loading stay off: a statement needs neither.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  const int size = static_cast<int>(bytes.size());
  Document document(xmlReadMemory(bytes.data(), size, "statement.xml", nullptr, options));
  if (!document)
    return Status::Corrupt(
        "The file is not well-formed XML: it may have been cut off. Download the statement from "
        "the bank again.");
  if (document->intSubset || document->extSubset)
    return Status::InvalidArgument(
        "The file declares a document type with entities of its own, which a bank statement "
        "never does; it is not read.");
  return document;
}

// "02" to "08" from the root's namespace, or a failure that names what the file is instead.
Result<std::string> Version(const xmlNode* root) {
  const std::string space = NamespaceOf(root);
  if (!IsElement(root, "Document", space) || !space.starts_with(kIso20022))
    return NotCamt();
  if (!space.starts_with(kCamt053))
    return Status::InvalidArgument("The file is an ISO 20022 message of another kind (" +
                                   space.substr(kIso20022.size()) +
                                   "), not a CAMT.053 bank statement.");
  const std::string version = space.substr(kCamt053.size());
  if (version.size() != 2 || version < "02" || version > "08")
    return Status::InvalidArgument("CAMT.053 version 001." + version +
                                   " is not one Paylark reads (001.02 to 001.08).");
  return version;
}

std::string AccountOf(const CamtTree& tree, const xmlNode* statement) {
  return tree.AccountIdAt(tree.Find(statement, {"Acct"}));
}

// The account's currency, else that of its closing balance.
std::string CurrencyOf(const CamtTree& tree, const xmlNode* statement) {
  std::string currency = tree.TextAt(statement, {"Acct", "Ccy"});
  for (const xmlNode* balance : tree.Children(statement, "Bal")) {
    if (currency.empty())
      currency = tree.AttributeAt(balance, {"Amt"}, "Ccy");
  }
  return currency;
}

std::optional<StatementBalance> ClosingBalance(const CamtTree& tree, const xmlNode* statement) {
  for (const xmlNode* balance : tree.Children(statement, "Bal")) {
    if (tree.TextAt(balance, {"Tp", "CdOrPrtry", "Cd"}) != "CLBD")
      continue;
    const std::optional<Cents> amount = tree.SignedAmount(balance, "Amt", "CdtDbtInd");
    const std::optional<OleDateTime> date = tree.DateAt(tree.Find(balance, {"Dt"}));
    if (amount && date)
      return StatementBalance{*date, *amount};
  }
  return std::nullopt;
}

struct Period {
  std::optional<OleDateTime> start;
  std::optional<OleDateTime> end;
};

Period PeriodOf(const CamtTree& tree, const xmlNode* statement) {
  return {CamtTree::DateOf(tree.TextAt(statement, {"FrToDt", "FrDtTm"})),
          CamtTree::DateOf(tree.TextAt(statement, {"FrToDt", "ToDtTm"}))};
}

// Several Stmt elements of one account (a long period in parts) make one statement.
Status Merge(const CamtTree& tree, const xmlNode* part, bool first, Statement& statement,
             CamtEntryReader& entries) {
  const std::string account = AccountOf(tree, part);
  if (!first && account != statement.bankAccount)
    return Status::InvalidArgument(
        "The file holds the statements of several accounts. Download one statement for each "
        "account and import them one by one.");
  statement.bankAccount = account;
  if (statement.currency.empty())
    statement.currency = CurrencyOf(tree, part);
  const Period period = PeriodOf(tree, part);
  if (period.start && (!statement.periodStart || *period.start < *statement.periodStart))
    statement.periodStart = period.start;
  if (period.end && (!statement.periodEnd || *period.end > *statement.periodEnd))
    statement.periodEnd = period.end;
  const std::optional<StatementBalance> closing = ClosingBalance(tree, part);
  if (closing && (!statement.closingBalance || closing->date >= statement.closingBalance->date))
    statement.closingBalance = closing;
  for (const xmlNode* entry : tree.Children(part, "Ntry"))
    PAYLARK_TRY(entries.Read(entry, statement.transactions));
  return Status::Ok();
}

}  // namespace

Result<Statement> ReadCamtStatement(std::string_view bytes) {
  if (bytes.find("<!DOCTYPE") != std::string_view::npos ||
      bytes.find("<!ENTITY") != std::string_view::npos)
    return Status::InvalidArgument(
        "The file declares a document type with entities of its own, which a bank statement "
        "never does; it is not read.");
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    return NotCamt();
  PAYLARK_TRY_ASSIGN(const Document document, Parse(bytes));
  const xmlNode* root = xmlDocGetRootElement(document.get());
  PAYLARK_TRY_ASSIGN(const std::string version, Version(root));
  const CamtTree tree(NamespaceOf(root));
  const std::vector<const xmlNode*> parts =
      tree.Children(tree.Find(root, {"BkToCstmrStmt"}), "Stmt");
  if (parts.empty())
    return Status::InvalidArgument("The CAMT.053 file holds no statement.");
  Statement statement;
  CamtEntryReader entries(tree);
  for (const xmlNode* part : parts)
    PAYLARK_TRY(Merge(tree, part, part == parts.front(), statement, entries));
  for (StatementTransaction& transaction : statement.transactions) {
    if (transaction.currency == statement.currency)
      transaction.currency.clear();
  }
  return statement;
}

}  // namespace paylark

#include "core/statements/camt_entry.h"

#include <algorithm>
#include <string>
#include <tuple>

namespace paylark {
namespace {

// Entries that are not bookings (yet): pending and information only.
bool IsBooked(const CamtTree& tree, const xmlNode* entry) {
  std::string status = tree.TextAt(entry, {"Sts"});
  if (status.empty())
    status = tree.TextAt(entry, {"Sts", "Cd"});
  return status != "PDNG" && status != "INFO";
}

}  // namespace

Status CamtEntryReader::Read(const xmlNode* entry,
                             std::vector<StatementTransaction>& transactions) {
  ++entryNumber_;
  if (!IsBooked(tree_, entry))
    return Status::Ok();
  EntryFacts facts;
  std::optional<OleDateTime> date = tree_.DateAt(tree_.Find(entry, {"BookgDt"}));
  if (!date)
    date = tree_.DateAt(tree_.Find(entry, {"ValDt"}));
  const std::optional<Cents> amount = tree_.SignedAmount(entry, "Amt", "CdtDbtInd");
  if (!date || !amount)
    return Status::Corrupt("Entry " + std::to_string(entryNumber_) +
                           " of the statement has no booking date or no amount.");
  facts.bookingDate = *date;
  facts.amount = *amount;
  facts.indicator = tree_.TextAt(entry, {"CdtDbtInd"});
  facts.reference = tree_.TextAt(entry, {"AcctSvcrRef"});
  facts.information = tree_.TextAt(entry, {"AddtlNtryInf"});
  facts.currency = tree_.AttributeAt(entry, {"Amt"}, "Ccy");
  const std::string reversal = tree_.TextAt(entry, {"RvslInd"});
  facts.reversal = reversal == "true" || reversal == "1";

  std::vector<const xmlNode*> details;
  for (const xmlNode* group : tree_.Children(entry, "NtryDtls")) {
    for (const xmlNode* detail : tree_.Children(group, "TxDtls"))
      details.push_back(detail);
  }
  if (details.size() >= 2) {
    std::vector<std::optional<Cents>> amounts;
    amounts.reserve(details.size());
    for (const xmlNode* detail : details)
      amounts.push_back(DetailAmount(facts, detail));
    const bool everyAmount =
        std::all_of(amounts.begin(), amounts.end(),
                    [](const std::optional<Cents>& a) { return a.has_value(); });
    // A batch whose details give no amounts of their own cannot be split: it stays one booking.
    if (everyAmount) {
      for (std::size_t index = 0; index < details.size(); ++index) {
        std::string id = DetailId(details[index]);
        if (id.empty() && !facts.reference.empty())
          id = facts.reference + "/" + std::to_string(index + 1);
        transactions.push_back(FromDetails(facts, details[index], amounts[index], std::move(id)));
      }
      return Status::Ok();
    }
  }
  const xmlNode* only = details.size() == 1 ? details.front() : nullptr;
  std::string id = facts.reference;
  if (id.empty() && only)
    id = DetailId(only);
  transactions.push_back(FromDetails(facts, only, facts.amount, std::move(id)));
  return Status::Ok();
}

StatementTransaction CamtEntryReader::FromDetails(const EntryFacts& entry, const xmlNode* details,
                                                  std::optional<Cents> amount, std::string id) {
  StatementTransaction transaction;
  transaction.bookingDate = entry.bookingDate;
  transaction.amount = amount.value_or(entry.amount);
  const bool creditor = (transaction.amount < 0) != entry.reversal;
  std::tie(transaction.counterparty, transaction.counterpartyAccount) = Party(details, creditor);
  transaction.creditorReference = CreditorReference(details);
  transaction.currency = entry.currency;
  if (const std::string own = tree_.AttributeAt(details, {"Amt"}, "Ccy"); !own.empty())
    transaction.currency = own;
  transaction.memo = Memo(details);
  if (transaction.memo.empty())
    transaction.memo = entry.information;
  transaction.id = !id.empty() ? std::move(id)
                               : fingerprints_.Next({std::to_string(entry.bookingDate.value()),
                                                     std::to_string(transaction.amount),
                                                     transaction.counterparty, transaction.memo});
  return transaction;
}

std::optional<Cents> CamtEntryReader::DetailAmount(const EntryFacts& entry,
                                                   const xmlNode* details) const {
  // The detail's own indicator where it has one (001.04 on), else the entry's.
  const std::string indicator = tree_.TextAt(details, {"CdtDbtInd"});
  const bool debit = (indicator.empty() ? entry.indicator : indicator) == "DBIT";
  for (const xmlNode* holder :
       {tree_.Find(details, {"Amt"}) ? details : nullptr, tree_.Find(details, {"AmtDtls", "TxAmt"}),
        tree_.Find(details, {"AmtDtls", "InstdAmt"})}) {
    if (!holder)
      continue;
    const std::optional<Cents> amount = tree_.SignedAmount(holder, "Amt", "");
    if (amount)
      return debit ? -*amount : *amount;
  }
  return std::nullopt;
}

std::string CamtEntryReader::DetailId(const xmlNode* details) const {
  std::string reference = tree_.TextAt(details, {"Refs", "AcctSvcrRef"});
  if (!reference.empty())
    return reference;
  const std::string endToEnd = tree_.TextAt(details, {"Refs", "EndToEndId"});
  return endToEnd == "NOTPROVIDED" ? std::string() : endToEnd;
}

std::pair<std::string, std::string> CamtEntryReader::Party(const xmlNode* details,
                                                           bool creditor) const {
  const xmlNode* parties = tree_.Find(details, {"RltdPties"});
  const xmlNode* party = tree_.Find(parties, {creditor ? "Cdtr" : "Dbtr"});
  // 001.08 puts the name under Pty; the earlier versions have it directly.
  std::string name = tree_.TextAt(party, {"Nm"});
  if (name.empty())
    name = tree_.TextAt(party, {"Pty", "Nm"});
  return {std::move(name),
          tree_.AccountIdAt(tree_.Find(parties, {creditor ? "CdtrAcct" : "DbtrAcct"}))};
}

std::string CamtEntryReader::CreditorReference(const xmlNode* details) const {
  for (const xmlNode* structured : tree_.Children(tree_.Find(details, {"RmtInf"}), "Strd")) {
    std::string reference = tree_.TextAt(structured, {"CdtrRefInf", "Ref"});
    if (!reference.empty())
      return reference;
  }
  return {};
}

std::string CamtEntryReader::Memo(const xmlNode* details) const {
  std::string memo;
  for (const xmlNode* line : tree_.Children(tree_.Find(details, {"RmtInf"}), "Ustrd")) {
    const std::string text = CamtTree::TextOf(line);
    if (!text.empty())
      memo += (memo.empty() ? "" : " ") + text;
  }
  return memo;
}

}  // namespace paylark

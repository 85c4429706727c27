#pragma once

#include <libxml/tree.h>

#include <vector>

#include "core/base/status.h"
#include "core/statements/camt_tree.h"
#include "core/statements/statement.h"
#include "core/statements/transaction_fingerprint.h"

namespace paylark {

// Turns CAMT.053 Ntry elements into transactions. An entry with one or no transaction details is
// one transaction with the entry's amount; a batch with several details is one transaction per
// detail, each with the detail's own amount. The ID is the detail's AcctSvcrRef, else its
// EndToEndId (unless "NOTPROVIDED"), else the entry's AcctSvcrRef (with the detail's position
// in a batch), else a fingerprint; the counterparty is the creditor of a debit and the debtor of
// a credit (the other way round for a reversal, whose parties are those of the booking it
// reverses); the memo the unstructured remittance lines.
class CamtEntryReader {
 public:
  explicit CamtEntryReader(const CamtTree& tree) : tree_(tree) {}

  // Appends the entry's transactions; a booked entry without an amount or a date fails.
  Status Read(const xmlNode* entry, std::vector<StatementTransaction>& transactions);

 private:
  struct EntryFacts {
    OleDateTime bookingDate;
    Cents amount = 0;
    std::string indicator;
    std::string reference;
    std::string information;
    std::string currency;
    bool reversal = false;
  };

  StatementTransaction FromDetails(const EntryFacts& entry, const xmlNode* details,
                                   std::optional<Cents> amount, std::string id);
  std::optional<Cents> DetailAmount(const EntryFacts& entry, const xmlNode* details) const;
  std::string DetailId(const xmlNode* details) const;
  // The creditor when `creditor`, else the debtor: the party's name and account.
  std::pair<std::string, std::string> Party(const xmlNode* details, bool creditor) const;
  std::string CreditorReference(const xmlNode* details) const;
  std::string Memo(const xmlNode* details) const;

  const CamtTree& tree_;
  TransactionFingerprints fingerprints_;
  std::size_t entryNumber_ = 0;
};

}  // namespace paylark

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/cents.h"
#include "core/base/clock.h"
#include "core/base/ole_date_time.h"

namespace paylark {

// A payment after the first of a due paid in parts: the same details the first one keeps.
struct PaymentPart {
  std::optional<OleDateTime> on;
  std::optional<double> amount;
  std::string reference;
  std::string counterparty;
  std::string counterpartyAccount;

  bool operator==(const PaymentPart&) const = default;
};

// How long before a contract renews it must be cancelled.
enum class NoticeUnit : std::uint8_t { kNone = 0, kDays = 1, kWeeks = 2, kMonths = 3 };
struct NoticePeriod {
  NoticeUnit unit = NoticeUnit::kNone;
  std::int32_t count = 0;

  bool IsSet() const { return unit != NoticeUnit::kNone; }
  bool operator==(const NoticePeriod&) const = default;
};

// One due: one row of the month list, one record file, one entry of the record map.
struct DueRecord {
  std::string recordId;
  std::string title;
  OleDateTime startDate;
  OleDateTime dueDate;
  std::string payTo;
  std::string account;
  double amount = 0.0;
  std::string notes;      // line breaks are CR LF
  std::int32_t type = 1;  // 1 Business, 2 Personal, 3 Income
  std::int32_t paid = 0;  // any value but 0 is paid
  std::string seriesId;   // empty for a single due
  // How the due was paid, when the user said so; kept after seriesId in the file's extension
  // block (docs/record-format.md). They are the first payment; a due paid in parts keeps the
  // others in laterParts. Marking a due unpaid clears every payment.
  std::optional<OleDateTime> paidOn;
  std::optional<double> paidAmount;
  std::string paymentReference;  // the bank transaction that paid it; empty for none
  // Who paid it, as the bank statement named the other party: what recognises the next payment.
  std::string paymentCounterparty;
  std::string paymentCounterpartyAccount;  // the other party's IBAN or account number
  // The bill's own payment details: a transaction that carries either paid this due.
  std::string payeeAccount;             // the payee's IBAN
  std::string creditorReference;        // the reference the payee asks for
  std::vector<PaymentPart> laterParts;  // the second and later payments, in the order made
  // A contract the due belongs to: the day it renews (or ends) and the notice it needs.
  std::optional<OleDateTime> renewsOn;
  NoticePeriod noticePeriod;
  // Extension fields this version does not know, complete and in file order: written back as read.
  std::string unknownFields;
  // Every byte after seriesId when they are not a readable extension block: kept untouched.
  std::string damagedExtension;

  // The default record: every string empty, both dates now, amount 0, type 1, unpaid.
  static DueRecord WithDefaults(const Clock& clock);

  bool operator==(const DueRecord&) const = default;
};

inline constexpr std::int32_t kTypeBusiness = 1;
inline constexpr std::int32_t kTypePersonal = 2;
// Money coming in: added to the balance, not paid out of it; paid means received.
inline constexpr std::int32_t kTypeIncome = 3;

struct TypeEntry {
  std::int32_t value;
  std::string_view text;
};
// The type table, in the order a type selector lists it.
inline constexpr std::array<TypeEntry, 3> kTypeTable = {
    {{kTypeBusiness, "Business"}, {kTypePersonal, "Personal"}, {kTypeIncome, "Income"}}};

inline bool IsPaid(const DueRecord& record) {
  return record.paid != 0;
}
// What was paid, in every part: a due marked paid without a paid amount counts its amount.
Cents PaidCents(const DueRecord& record);
// What is still to pay: nothing for a paid due, else the amount less the parts paid, never past
// zero.
Cents LeftCents(const DueRecord& record);
// An unpaid due of which some part is paid.
inline bool IsPartlyPaid(const DueRecord& record) {
  return record.paid == 0 && PaidCents(record) != 0;
}
// What a paid due cost: its parts' sum when a paid amount is stored, else its amount.
inline double PaidOrDueAmount(const DueRecord& record) {
  return record.paidAmount ? FromCents(PaidCents(record)) : record.amount;
}
// The amount the month list shows and its sums add: what was paid for a paid due, else the
// amount due.
inline double ListedAmount(const DueRecord& record) {
  return record.paid != 0 ? PaidOrDueAmount(record) : record.amount;
}
inline bool IsIncome(const DueRecord& record) {
  return record.type == kTypeIncome;
}
inline bool IsSeriesMember(const DueRecord& record) {
  return !record.seriesId.empty();
}
// What the due editor stores for fields left empty: "No Title" and "Someone".
void ApplyEditorDefaults(DueRecord& record);

// "Personal" for type 2, "Income" for type 3, "Business" for every other value.
std::string_view TypeText(std::int32_t type);
// "Paid" for any non-zero value, else "Unpaid".
std::string_view PaidText(std::int32_t paid);

}  // namespace paylark

#include "core/bills/bill_due.h"

#include <algorithm>

#include "core/base/format.h"

namespace paylark {
namespace {

constexpr char kShownDate[] = "d MMM yyyy";

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0)
      text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  if (!text.empty())
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

std::string Notes(const Bill& bill) {
  std::string notes;
  if (!bill.invoiceNumber.empty()) {
    notes = "Invoice " + bill.invoiceNumber;
    if (bill.invoiceDate)
      notes += " of " + FormatDate(*bill.invoiceDate, kShownDate);
  }
  if (!bill.message.empty())
    notes += (notes.empty() ? "" : "\r\n") + bill.message;
  std::string crLf;
  for (std::size_t i = 0; i < notes.size(); ++i) {
    if (notes[i] == '\n' && (i == 0 || notes[i - 1] != '\r'))
      crLf += '\r';
    crLf += notes[i];
  }
  return crLf;
}

std::vector<std::string> FoundFields(const Bill& bill) {
  std::vector<std::string> found;
  if (!bill.seller.empty())
    found.emplace_back("pay-to");
  if (bill.dueDate)
    found.emplace_back("due date");
  if (bill.amount)
    found.emplace_back("amount");
  if (!bill.payeeAccount.empty())
    found.emplace_back("IBAN");
  if (!bill.reference.empty())
    found.emplace_back("reference");
  return found;
}

void LayFields(const Bill& bill, const OleDateTime& today, const OleDateTime& dueDate,
               DueRecord& record) {
  if (!bill.seller.empty()) {
    record.payTo = bill.seller;
    record.title =
        bill.invoiceNumber.empty() ? bill.seller : bill.seller + " " + bill.invoiceNumber;
  }
  record.dueDate = dueDate;
  // The bill came in on its invoice date, else today; never after it falls due.
  const OleDateTime start = bill.invoiceDate.value_or(today);
  record.startDate = start < dueDate ? start : dueDate;
  if (bill.amount)
    record.amount = FromCents(*bill.amount);
  record.payeeAccount = bill.payeeAccount;
  record.creditorReference = bill.reference;
  const std::string notes = Notes(bill);
  if (!notes.empty())
    record.notes = notes;
}

}  // namespace

BillDue DueFromBill(const Bill& bill, DueRecord base, const BillDueOptions& options) {
  BillDue due{std::move(base), {}, bill.warnings};
  if (bill.source == BillSource::kNone)
    return due;
  const OleDateTime today = options.today.DateOnly();
  const OleDateTime dueDate =
      bill.dueDate.value_or(today.AddDays(options.daysToPay).value_or(today));
  LayFields(bill, today, dueDate, due.record);
  due.summary = Listed(FoundFields(bill)) + " from " + std::string(BillSourcePlace(bill.source));
  if (!bill.dueDate)
    due.summary += "; due date not on the bill: set to " + FormatDate(dueDate, kShownDate);
  if (!bill.currency.empty() && !options.defaultCurrency.empty() &&
      bill.currency != options.defaultCurrency)
    due.warnings.push_back("The bill is in " + bill.currency + ", not " + options.defaultCurrency +
                           ": its amount was kept as written.");
  return due;
}

}  // namespace paylark

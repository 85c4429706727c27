#include "core/bills/ubl_invoice.h"

#include <string>

#include "core/bills/bill_fields.h"
#include "core/bills/xml_elements.h"

namespace paylark {
namespace {

constexpr char kAggregateSpace[] =
    "urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2";
constexpr char kBasicSpace[] =
    "urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2";

std::optional<OleDateTime> DateAt(const XmlElements& elements, const xmlNode* node,
                                  std::initializer_list<std::string_view> path, Bill& bill,
                                  std::string_view what) {
  const std::string written = elements.TextAt(node, path);
  if (written.empty())
    return std::nullopt;
  const std::optional<OleDateTime> date = written.size() == 10 ? BillDate(written) : std::nullopt;
  if (!date)
    bill.warnings.push_back("The " + std::string(what) + " \"" + written +
                            "\" is not a date Paylark can read, so it was left out.");
  return date;
}

std::string SellerOf(const XmlElements& elements, const xmlNode* root) {
  const xmlNode* party = elements.Find(root, {"AccountingSupplierParty", "Party"});
  const std::string name = elements.TextAt(party, {"PartyName", "Name"});
  return name.empty() ? elements.TextAt(party, {"PartyLegalEntity", "RegistrationName"}) : name;
}

}  // namespace

Result<Bill> ReadUblInvoice(const xmlNode* root) {
  const XmlElements elements({kUblInvoiceSpace, kAggregateSpace, kBasicSpace});
  Bill bill;
  bill.source = BillSource::kXRechnung;
  bill.invoiceNumber = elements.TextAt(root, {"ID"});
  bill.invoiceDate = DateAt(elements, root, {"IssueDate"}, bill, "invoice date");
  bill.seller = SellerOf(elements, root);
  const xmlNode* means = elements.Find(root, {"PaymentMeans"});
  bill.dueDate = DateAt(elements, root, {"DueDate"}, bill, "due date");
  if (!bill.dueDate)
    bill.dueDate = DateAt(elements, means, {"PaymentDueDate"}, bill, "due date");
  TakeReference(bill, elements.TextAt(means, {"PaymentID"}));
  TakeIban(bill, elements.TextAt(means, {"PayeeFinancialAccount", "ID"}));
  bill.message = elements.TextAt(root, {"PaymentTerms", "Note"});
  const xmlNode* payable = elements.Find(root, {"LegalMonetaryTotal", "PayableAmount"});
  TakeAmount(bill, elements.TextAt(payable, {}));
  bill.currency = elements.TextAt(root, {"DocumentCurrencyCode"});
  if (bill.currency.empty())
    bill.currency = XmlElements::Attribute(payable, "currencyID");
  return bill;
}

}  // namespace paylark

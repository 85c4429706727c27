#include "core/bills/cii_invoice.h"

#include <string>

#include "core/bills/bill_fields.h"
#include "core/bills/xml_elements.h"

namespace paylark {
namespace {

constexpr char kAggregateSpace[] =
    "urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100";
constexpr char kDataTypeSpace[] = "urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100";

// Document type codes of UNTDID 1001 that ask for money (invoices, corrected, self-billed,
// prepayment, partial); 381 is a credit note.
bool IsInvoiceType(std::string_view code) {
  return code.empty() || code == "380" || code == "384" || code == "389" || code == "386" ||
         code == "326" || code == "875" || code == "876" || code == "877" || code == "751";
}

// The day of a udt:DateTimeString: format 102 ("20261221") is the only one the invoice
// profiles allow.
std::optional<OleDateTime> DateOf(const XmlElements& elements, const xmlNode* holder, Bill& bill,
                                  std::string_view what) {
  const xmlNode* text = elements.Find(holder, {"DateTimeString"});
  const std::string written = elements.TextAt(holder, {"DateTimeString"});
  if (!text || written.empty())
    return std::nullopt;
  const std::string format = XmlElements::Attribute(text, "format");
  const std::optional<OleDateTime> date =
      format.empty() || format == "102" ? BillDate(written) : std::nullopt;
  if (!date)
    bill.warnings.push_back("The " + std::string(what) + " \"" + written +
                            "\" is not a date Paylark can read, so it was left out.");
  return date;
}

void ReadSettlement(const XmlElements& elements, const xmlNode* settlement, Bill& bill) {
  bill.currency = elements.TextAt(settlement, {"InvoiceCurrencyCode"});
  TakeReference(bill, elements.TextAt(settlement, {"PaymentReference"}));
  TakeIban(bill, elements.TextAt(settlement, {"SpecifiedTradeSettlementPaymentMeans",
                                              "PayeePartyCreditorFinancialAccount", "IBANID"}));
  const xmlNode* terms = elements.Find(settlement, {"SpecifiedTradePaymentTerms"});
  bill.dueDate = DateOf(elements, elements.Find(terms, {"DueDateDateTime"}), bill, "due date");
  bill.message = elements.TextAt(terms, {"Description"});
  const xmlNode* due = elements.Find(
      settlement, {"SpecifiedTradeSettlementHeaderMonetarySummation", "DuePayableAmount"});
  TakeAmount(bill, elements.TextAt(due, {}));
  const std::string currency = XmlElements::Attribute(due, "currencyID");
  if (bill.currency.empty())
    bill.currency = currency;
}

}  // namespace

Result<Bill> ReadCiiInvoice(const xmlNode* root) {
  const XmlElements elements({kCiiInvoiceSpace, kAggregateSpace, kDataTypeSpace});
  const xmlNode* document = elements.Find(root, {"ExchangedDocument"});
  const xmlNode* transaction = elements.Find(root, {"SupplyChainTradeTransaction"});
  if (!document || !transaction)
    return Status::InvalidArgument(
        "The CII document is incomplete: it has no ExchangedDocument or no trade transaction.");
  if (!IsInvoiceType(elements.TextAt(document, {"TypeCode"})))
    return Status::InvalidArgument("The e-invoice is a credit note or another document of type " +
                                   elements.TextAt(document, {"TypeCode"}) +
                                   ", not an invoice to pay.");
  Bill bill;
  bill.source = BillSource::kXRechnung;
  bill.invoiceNumber = elements.TextAt(document, {"ID"});
  bill.invoiceDate =
      DateOf(elements, elements.Find(document, {"IssueDateTime"}), bill, "invoice date");
  bill.seller =
      elements.TextAt(transaction, {"ApplicableHeaderTradeAgreement", "SellerTradeParty", "Name"});
  ReadSettlement(elements, elements.Find(transaction, {"ApplicableHeaderTradeSettlement"}), bill);
  return bill;
}

}  // namespace paylark

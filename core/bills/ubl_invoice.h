#pragma once

#include <libxml/tree.h>

#include "core/base/status.h"
#include "core/bills/bill.h"

namespace paylark {

inline constexpr char kUblInvoiceSpace[] = "urn:oasis:names:specification:ubl:schema:xsd:Invoice-2";
inline constexpr char kUblCreditNoteSpace[] =
    "urn:oasis:names:specification:ubl:schema:xsd:CreditNote-2";

// The bill of a UBL 2.1 Invoice root: the supplier's name, ID and IssueDate, DueDate (else the
// first payment means' due date), PayableAmount and its currency, the first payment means' IBAN
// and PaymentID, and the payment terms' note.
Result<Bill> ReadUblInvoice(const xmlNode* root);

}  // namespace paylark

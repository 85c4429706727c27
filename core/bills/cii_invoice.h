#pragma once

#include <libxml/tree.h>

#include "core/base/status.h"
#include "core/bills/bill.h"

namespace paylark {

inline constexpr char kCiiInvoiceSpace[] =
    "urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100";

// The bill of a CrossIndustryInvoice root, at any profile from MINIMUM to EXTENDED: the seller,
// the document's number and date, the amount due (DuePayableAmount), its currency, the first
// payment terms' due date and description, the first credit transfer's IBAN and the payment
// reference.
Result<Bill> ReadCiiInvoice(const xmlNode* root);

}  // namespace paylark

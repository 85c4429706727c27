#pragma once

#include <string_view>

#include "core/base/status.h"
#include "core/bills/bill.h"

namespace paylark {

// An e-invoice: a UN/CEFACT CII CrossIndustryInvoice (Factur-X, ZUGFeRD, XRechnung) or a UBL 2.1
// Invoice, read with libxml2 with no network and no entity of its own (a document that declares
// a DOCTYPE is refused). XML that is no invoice, or a credit note, is InvalidArgument; XML that
// is not well-formed is Corrupt. The bill's source is kXRechnung; a caller that found the XML
// inside a PDF says kFacturX.
Result<Bill> ReadInvoiceXml(std::string_view bytes);

}  // namespace paylark

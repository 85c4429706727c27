#include "core/bills/bill.h"

namespace paylark {

std::string_view BillSourceName(BillSource source) {
  switch (source) {
    case BillSource::kFacturX:
      return "factur-x";
    case BillSource::kXRechnung:
      return "xrechnung";
    case BillSource::kEpcCode:
      return "epc-qr";
    case BillSource::kSwissCode:
      return "swiss-qr";
    case BillSource::kNone:
      break;
  }
  return "none";
}

std::string_view BillSourcePlace(BillSource source) {
  switch (source) {
    case BillSource::kFacturX:
    case BillSource::kXRechnung:
      return "the e-invoice";
    case BillSource::kEpcCode:
    case BillSource::kSwissCode:
      return "the payment code";
    case BillSource::kNone:
      break;
  }
  return "the bill";
}

}  // namespace paylark

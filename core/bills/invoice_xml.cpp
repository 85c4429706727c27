#include "core/bills/invoice_xml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <limits>
#include <memory>
#include <mutex>
#include <string>

#include "core/bills/cii_invoice.h"
#include "core/bills/ubl_invoice.h"

namespace paylark {
namespace {

struct DocumentFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentFree>;

Status DeclaresDocumentType() {
  return Status::InvalidArgument(
      "The XML declares a document type (DOCTYPE), which an e-invoice never does; it is not "
      "read.");
}

Result<Document> Parse(std::string_view bytes) {
  static std::once_flag initialized;
  std::call_once(initialized, [] { xmlInitParser(); });
  // Entity substitution (XML_PARSE_NOENT) and DTD loading stay off: an invoice needs neither.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  Document document(
      xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "invoice.xml", nullptr, options));
  if (!document)
    return Status::Corrupt("The XML is not well-formed: it may have been cut off.");
  if (document->intSubset || document->extSubset)
    return DeclaresDocumentType();
  return document;
}

std::string_view SpaceOf(const xmlNode* node) {
  return node && node->ns && node->ns->href ? reinterpret_cast<const char*>(node->ns->href) : "";
}

std::string_view NameOf(const xmlNode* node) {
  return node ? reinterpret_cast<const char*>(node->name) : "";
}

}  // namespace

Result<Bill> ReadInvoiceXml(std::string_view bytes) {
  if (bytes.find("<!DOCTYPE") != std::string_view::npos ||
      bytes.find("<!ENTITY") != std::string_view::npos)
    return DeclaresDocumentType();
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    return Status::InvalidArgument("The XML is too large to be an e-invoice.");
  PAYLARK_TRY_ASSIGN(const Document document, Parse(bytes));
  const xmlNode* root = xmlDocGetRootElement(document.get());
  const std::string_view space = SpaceOf(root);
  if (space == kCiiInvoiceSpace && NameOf(root) == "CrossIndustryInvoice")
    return ReadCiiInvoice(root);
  if (space == kUblInvoiceSpace && NameOf(root) == "Invoice")
    return ReadUblInvoice(root);
  if (space == kUblCreditNoteSpace)
    return Status::InvalidArgument("The e-invoice is a credit note, not an invoice to pay.");
  return Status::InvalidArgument(
      "The XML is not an e-invoice (a CII CrossIndustryInvoice or a UBL 2.1 Invoice).");
}

}  // namespace paylark

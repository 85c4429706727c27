#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/bills/gray_image.h"

namespace poppler {
class document;
}

namespace paylark {

// The e-invoice a Factur-X or ZUGFeRD PDF carries as an embedded file.
struct EmbeddedInvoice {
  std::string name;  // as the PDF names it: "factur-x.xml", "zugferd-invoice.xml", ...
  std::string bytes;
};

// A bill's PDF, opened with poppler's C++ library from bytes it keeps. Poppler's own complaints
// about damaged files never reach standard error; a PDF it cannot open at all is Corrupt, and
// one locked by a password is InvalidArgument.
class BillPdf {
 public:
  static Result<BillPdf> Open(std::string_view bytes);
  BillPdf(BillPdf&&) noexcept;
  BillPdf& operator=(BillPdf&&) noexcept;
  ~BillPdf();

  // The first embedded file whose name is one the e-invoice standards give (factur-x.xml,
  // zugferd-invoice.xml, ZUGFeRD-invoice.xml, xrechnung.xml, in any letter case); none is not
  // an error.
  std::optional<EmbeddedInvoice> Invoice() const;
  int PageCount() const;
  // The page (from 0) in gray at the resolution, lowered where the page is so large that its
  // pixels would pass kLargestImagePixels.
  Result<GrayImage> RenderPage(int index, double dotsPerInch) const;

 private:
  explicit BillPdf(std::unique_ptr<poppler::document> document);

  std::unique_ptr<poppler::document> document_;
};

}  // namespace paylark

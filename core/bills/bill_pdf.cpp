#include "core/bills/bill_pdf.h"

#include <poppler-document.h>
#include <poppler-embedded-file.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <mutex>

namespace paylark {
namespace {

// Compared in small letters, so ZUGFeRD 2's "ZUGFeRD-invoice.xml" is among them.
constexpr std::array<std::string_view, 3> kInvoiceNames = {"factur-x.xml", "zugferd-invoice.xml",
                                                           "xrechnung.xml"};

bool IsInvoiceName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::find(kInvoiceNames.begin(), kInvoiceNames.end(), name) != kInvoiceNames.end();
}

void SilencePoppler() {
  static std::once_flag silenced;
  std::call_once(silenced, [] {
    poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr);
  });
}

// Points are 1/72 inch.
double Resolution(const poppler::page& page, double dotsPerInch) {
  const poppler::rectf box = page.page_rect();
  const double pixels = box.width() * box.height() * dotsPerInch * dotsPerInch / (72.0 * 72.0);
  if (pixels <= static_cast<double>(kLargestImagePixels))
    return dotsPerInch;
  return dotsPerInch * std::sqrt(static_cast<double>(kLargestImagePixels) / pixels);
}

GrayImage GrayOf(const poppler::image& image) {
  GrayImage gray;
  gray.width = image.width();
  gray.height = image.height();
  gray.pixels.resize(static_cast<std::size_t>(gray.width) * gray.height);
  for (int row = 0; row < gray.height; ++row) {
    std::memcpy(gray.pixels.data() + static_cast<std::size_t>(row) * gray.width,
                image.const_data() + static_cast<std::ptrdiff_t>(row) * image.bytes_per_row(),
                static_cast<std::size_t>(gray.width));
  }
  return gray;
}

}  // namespace

BillPdf::BillPdf(std::unique_ptr<poppler::document> document) : document_(std::move(document)) {}
BillPdf::BillPdf(BillPdf&&) noexcept = default;
BillPdf& BillPdf::operator=(BillPdf&&) noexcept = default;
BillPdf::~BillPdf() = default;

Result<BillPdf> BillPdf::Open(std::string_view bytes) {
  SilencePoppler();
  poppler::byte_array data(bytes.begin(), bytes.end());
  std::unique_ptr<poppler::document> document(poppler::document::load_from_data(&data));
  if (!document)
    return Status::Corrupt(
        "The PDF cannot be opened: it is damaged, cut off or locked by a password.");
  if (document->is_locked())
    return Status::InvalidArgument(
        "The PDF is locked by a password, so Paylark cannot read it. Open it, save a copy "
        "without the password, and read the copy.");
  return BillPdf(std::move(document));
}

std::optional<EmbeddedInvoice> BillPdf::Invoice() const {
  if (!document_->has_embedded_files())
    return std::nullopt;
  for (poppler::embedded_file* file : document_->embedded_files()) {
    if (!file->is_valid() || !IsInvoiceName(file->name()))
      continue;
    const poppler::byte_array data = file->data();
    return EmbeddedInvoice{file->name(), std::string(data.begin(), data.end())};
  }
  return std::nullopt;
}

int BillPdf::PageCount() const {
  return document_->pages();
}

Result<GrayImage> BillPdf::RenderPage(int index, double dotsPerInch) const {
  const std::unique_ptr<poppler::page> page(document_->create_page(index));
  if (!page || !poppler::page_renderer::can_render())
    return Status::Corrupt("Page " + std::to_string(index + 1) + " of the PDF cannot be drawn.");
  poppler::page_renderer renderer;
  renderer.set_image_format(poppler::image::format_gray8);
  renderer.set_render_hint(poppler::page_renderer::antialiasing);
  const double resolution = Resolution(*page, dotsPerInch);
  const poppler::image image = renderer.render_page(page.get(), resolution, resolution);
  if (!image.is_valid() || image.format() != poppler::image::format_gray8)
    return Status::Corrupt("Page " + std::to_string(index + 1) + " of the PDF cannot be drawn.");
  return GrayOf(image);
}

}  // namespace paylark

#include "core/bills/code_scanning.h"

#include <ReadBarcode.h>

namespace paylark {

std::vector<std::string> FindQrCodes(const GrayImage& image) {
  if (image.width <= 0 || image.height <= 0)
    return {};
  const ZXing::ImageView view(image.pixels.data(), image.width, image.height,
                              ZXing::ImageFormat::Lum);
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::QRCode);
  hints.setTryHarder(true);
  hints.setTryRotate(true);
  std::vector<std::string> texts;
  for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
    if (result.isValid())
      texts.emplace_back(result.bytes().begin(), result.bytes().end());
  }
  return texts;
}

}  // namespace paylark

#pragma once

#include <string>
#include <vector>

#include "core/bills/gray_image.h"

namespace paylark {

// The texts of the QR codes found in the image, in the order zxing-cpp finds them: upright,
// turned, tilted or photographed at a slant, with a mark such as the Swiss cross printed over
// the middle. The raw bytes of each code are kept; their character set is the payment code's
// own business. No code gives an empty list.
std::vector<std::string> FindQrCodes(const GrayImage& image);

}  // namespace paylark

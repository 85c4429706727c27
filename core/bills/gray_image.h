#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/base/status.h"

namespace paylark {

// Eight-bit gray pixels, row after row with no padding.
struct GrayImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

// Photos of a bill are a few megapixels; a larger image is refused before it is decoded.
inline constexpr std::int64_t kLargestImagePixels = 64'000'000;

bool IsPng(std::string_view bytes);
bool IsJpeg(std::string_view bytes);
// A PNG or baseline/progressive JPEG file's pixels in gray (transparency over white). An image
// that cannot be decoded is Corrupt; one beyond kLargestImagePixels is InvalidArgument.
Result<GrayImage> DecodeImage(std::string_view bytes);

}  // namespace paylark

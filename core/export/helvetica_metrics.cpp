#include "core/export/helvetica_metrics.h"

#include <cstdint>

namespace paylark {
namespace {

// Generated once from NimbusSans-Regular.afm of Debian's fonts-urw-base35 (metric-compatible
// with Helvetica): the WX of each MacRomanEncoding glyph, by code.
constexpr std::int16_t kAfmWidths[256] = {
    0,   0,   0,   0,    0,   0,   0,   0,   0,    0,   0,    0,    0,    0,   0,   0,   0,   0,
    0,   0,   0,   0,    0,   0,   0,   0,   0,    0,   0,    0,    0,    0,   278, 278, 355, 556,
    556, 889, 667, 191,  333, 333, 389, 584, 278,  333, 278,  278,  556,  556, 556, 556, 556, 556,
    556, 556, 556, 556,  278, 278, 584, 584, 584,  556, 1015, 667,  667,  722, 722, 667, 611, 778,
    722, 278, 500, 667,  556, 833, 722, 778, 667,  778, 722,  667,  611,  722, 667, 944, 667, 667,
    611, 278, 278, 278,  469, 556, 333, 556, 556,  500, 556,  556,  278,  556, 556, 222, 222, 500,
    222, 833, 556, 556,  556, 556, 333, 500, 278,  556, 500,  722,  500,  500, 500, 334, 260, 334,
    584, 0,   667, 667,  722, 667, 722, 778, 722,  556, 556,  556,  556,  556, 556, 500, 556, 556,
    556, 556, 278, 278,  278, 278, 556, 556, 556,  556, 556,  556,  556,  556, 556, 556, 556, 400,
    556, 556, 556, 350,  537, 611, 737, 737, 1000, 333, 333,  0,    1000, 778, 0,   584, 0,   0,
    556, 556, 0,   0,    0,   0,   0,   370, 365,  0,   889,  611,  611,  333, 584, 0,   556, 0,
    0,   556, 556, 1000, 278, 667, 667, 778, 1000, 944, 556,  1000, 333,  333, 222, 222, 584, 0,
    500, 667, 278, 556,  333, 333, 500, 500, 556,  278, 222,  333,  1000, 667, 667, 667, 667, 667,
    278, 278, 278, 278,  778, 778, 0,   778, 722,  722, 722,  278,  333,  333, 333, 333, 333, 333,
    333, 333, 333, 333,
};

// Helvetica's em is 2048 of the 2288 units from its ascent to its descent.
constexpr std::int64_t kEmUnits = 2048;
constexpr std::int64_t kCellUnits = 2288;

}  // namespace

int HelveticaAfmWidth(unsigned char code) {
  return kAfmWidths[code];
}

HelveticaMeasure::HelveticaMeasure(int cellHeight) : cellHeight_(cellHeight) {
  for (int code = 0; code < 256; ++code)
    widths_[code] = Scaled(kAfmWidths[code]);
}

int HelveticaMeasure::Scaled(int thousandths) const {
  // width = afm × cellHeight × 2048 / 2288 / 1000, rounded half up in whole numbers.
  const std::int64_t divisor = kCellUnits * 1000;
  const std::int64_t scaled = std::int64_t{thousandths} * cellHeight_ * kEmUnits;
  return static_cast<int>((2 * scaled + divisor) / (2 * divisor));
}

std::size_t HelveticaMeasure::FittingCount(std::string_view text, int maxExtent) const {
  int extent = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    extent += Width(static_cast<unsigned char>(text[i]));
    if (extent > maxExtent)
      return i;
  }
  return text.size();
}

}  // namespace paylark

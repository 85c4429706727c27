#pragma once

#include <string_view>

namespace paylark {

// The advance width of a MacRoman code in standard Helvetica, in thousandths of an em; 0 for a
// code without a glyph.
int HelveticaAfmWidth(unsigned char code);

// Measures MacRoman text in Helvetica set at a cell height (ascent plus descent) given in device
// units, each glyph's width rounded to a whole unit, as a screen font of that height measures.
class HelveticaMeasure {
 public:
  explicit HelveticaMeasure(int cellHeight);

  int Width(unsigned char code) const { return widths_[code]; }
  // The width of an advance given in thousandths of an em, rounded as Width rounds.
  int Scaled(int thousandths) const;
  // How many leading characters fit while the running width stays within maxExtent.
  std::size_t FittingCount(std::string_view text, int maxExtent) const;

 private:
  int cellHeight_;
  int widths_[256];
};

}  // namespace paylark

#include "core/base/paper_size.h"

#include <langinfo.h>

#include <cmath>
#include <cstdint>

namespace paylark {
namespace {

int Millimetres(nl_item item) {
  // glibc hands the paper's measures back as numbers in the pointer.
  return static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(item)));
}

int Twips(int millimetres) {
  return static_cast<int>(std::lround(millimetres * 1440.0 / 25.4));
}

}  // namespace

PaperSize LocalePaperSize() {
  const int width = Millimetres(_NL_PAPER_WIDTH);
  const int height = Millimetres(_NL_PAPER_HEIGHT);
  if (width == 216 && height == 279)
    return kLetterPaper;
  if ((width == 210 && height == 297) || width <= 0 || height <= 0)
    return kA4Paper;
  return {Twips(width), Twips(height)};
}

}  // namespace paylark

#pragma once

#include <string>
#include <vector>

#include "core/export/fallback_fonts.h"

namespace paylark {

// The six PDF objects of an embedded font subset, numbered from `first` on: the Type0 font
// (Identity-H, its glyph ids as character codes), its CID font with the glyph widths, the font
// descriptor, the font file, the ToUnicode map that gives text extraction the characters back, and
// the glyph id map (an empty stream for a CFF font, which keeps its ids).
// `serial` makes the subset's name tag distinct within the document.
std::vector<std::string> EmbeddedFontObjects(const FallbackFonts::Embedding& font, int first,
                                             int serial);

}  // namespace paylark

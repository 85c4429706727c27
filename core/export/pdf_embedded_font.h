#pragma once

#include <string>
#include <vector>

#include "core/export/fallback_fonts.h"

namespace paylark {

// The five PDF objects of an embedded font subset, numbered from `first` on: the Type0 font
// (Identity-H, its glyph ids as character codes), its CID font with the glyph widths, the font
// descriptor, the font file and the ToUnicode map that gives text extraction the characters back.
// `serial` makes the subset's name tag distinct within the document.
std::vector<std::string> EmbeddedFontObjects(const FallbackFonts::Embedding& font, int first,
                                             int serial);

}  // namespace paylark

#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct _FcConfig;  // NOLINT(bugprone-reserved-identifier): fontconfig's own name

namespace paylark {

// Fonts for the characters the PDF's Helvetica cannot show: fontconfig finds an installed font
// that covers each character, HarfBuzz gives its glyphs and advances and cuts the subset that a
// document embeds. Fonts are numbered from 0 in the order they are first needed.
class FallbackFonts {
 public:
  FallbackFonts();
  ~FallbackFonts();
  FallbackFonts(const FallbackFonts&) = delete;
  FallbackFonts& operator=(const FallbackFonts&) = delete;

  // The font that draws the character, or -1 when no installed font has a glyph for it.
  int FontFor(char32_t character);
  // The character's advance in thousandths of an em.
  int Advance(int font, char32_t character) const;

  struct Glyph {
    std::uint32_t id;
    int advance;  // thousandths of an em
  };
  // The glyphs of UTF-8 text shaped in the font; each glyph is remembered for the subset, with
  // the text it stands for.
  std::vector<Glyph> Shape(int font, std::string_view utf8);

  // What a document embeds of one font.
  struct Embedding {
    std::string postScriptName;
    bool trueTypeOutlines = true;  // glyf outlines; otherwise CFF in an OpenType file
    std::string fontFile;          // the subset
    // For TrueType outlines: the subset's glyph id of each glyph id of the whole font, two bytes
    // big-endian each, as a PDF CIDToGIDMap stream. CFF subsets keep the glyph ids instead.
    std::string glyphIdMap;
    std::map<std::uint32_t, int> advances;            // of the glyphs shaped so far
    std::map<std::uint32_t, std::u32string> unicode;  // the text each glyph stands for
    int ascent = 0;                                   // thousandths of an em
    int descent = 0;
  };
  int FontCount() const;
  Embedding Embed(int font) const;

 private:
  struct Font;
  int Load(const std::string& file, int index);

  // A configuration of our own, loaded when a character first needs a font and released with
  // this object: fontconfig's process-wide default is never freed.
  _FcConfig* configuration_ = nullptr;
  std::vector<std::unique_ptr<Font>> fonts_;
  std::map<char32_t, int> fontOfCharacter_;
};

}  // namespace paylark

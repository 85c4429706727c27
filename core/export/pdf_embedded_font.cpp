#include "core/export/pdf_embedded_font.h"

#include <cstdio>

namespace paylark {
namespace {

std::string Reference(int number) {
  return std::to_string(number) + " 0 R";
}

std::string Object(int number, const std::string& body) {
  return std::to_string(number) + " 0 obj" + body + "\nendobj\n";
}

std::string Stream(int number, const std::string& dictionary, const std::string& data) {
  return std::to_string(number) + " 0 obj<<" + dictionary + " /Length " +
         std::to_string(data.size()) + ">>stream\r\n" + data + "\r\nendstream\nendobj\n";
}

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

std::string Utf16Hex(const std::u32string& text) {
  std::string hex;
  for (const char32_t c : text) {
    if (c >= 0x10000) {
      hex += Hex4(0xD800 + ((c - 0x10000) >> 10));
      hex += Hex4(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      hex += Hex4(c);
    }
  }
  return hex;
}

std::string WidthsArray(const FallbackFonts::Embedding& font) {
  std::string widths = "[";
  for (const auto& [glyph, advance] : font.advances)
    widths += std::to_string(glyph) + " [" + std::to_string(advance) + "] ";
  return widths + "]";
}

std::string ToUnicodeMap(const FallbackFonts::Embedding& font) {
  std::string entries;
  int inBlock = 0;
  std::string map =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  const auto flush = [&] {
    if (inBlock > 0)
      map += std::to_string(inBlock) + " beginbfchar\n" + entries + "endbfchar\n";
    entries.clear();
    inBlock = 0;
  };
  for (const auto& [glyph, text] : font.unicode) {
    if (text.empty())
      continue;
    entries += "<" + Hex4(glyph) + "> <" + Utf16Hex(text) + ">\n";
    if (++inBlock == 100)
      flush();
  }
  flush();
  return map + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend";
}

}  // namespace

std::vector<std::string> EmbeddedFontObjects(const FallbackFonts::Embedding& font, int first,
                                             int serial) {
  std::string tag = "PAYLAA+";
  tag[4] = static_cast<char>('A' + serial / 26 % 26);
  tag[5] = static_cast<char>('A' + serial % 26);
  const std::string name = "/" + tag + font.postScriptName;
  const std::string ascent = std::to_string(font.ascent);
  const std::string descent = std::to_string(font.descent);
  const bool trueType = font.trueTypeOutlines;
  return {
      Object(first, "<</Type /Font /Subtype /Type0 /BaseFont " + name +
                        " /Encoding /Identity-H /DescendantFonts [" + Reference(first + 1) +
                        "] /ToUnicode " + Reference(first + 4) + ">>"),
      Object(first + 1, std::string("<</Type /Font /Subtype ") +
                            (trueType ? "/CIDFontType2" : "/CIDFontType0") + " /BaseFont " + name +
                            " /CIDSystemInfo <</Registry (Adobe) /Ordering (Identity) /Supplement "
                            "0>> /FontDescriptor " +
                            Reference(first + 2) + " /DW 1000 /W " + WidthsArray(font) +
                            (trueType ? " /CIDToGIDMap " + Reference(first + 5) : "") + ">>"),
      Object(first + 2,
             "<</Type /FontDescriptor /FontName " + name + " /Flags 4 /FontBBox [-1000 " + descent +
                 " 2000 " + ascent + "] /ItalicAngle 0 /Ascent " + ascent + " /Descent " + descent +
                 " /CapHeight " + ascent + " /StemV 80 " +
                 (trueType ? "/FontFile2 " : "/FontFile3 ") + Reference(first + 3) + ">>"),
      Stream(first + 3, trueType ? "" : "/Subtype /OpenType", font.fontFile),
      Stream(first + 4, "", ToUnicodeMap(font)),
      Stream(first + 5, "", font.glyphIdMap),
  };
}

}  // namespace paylark

#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"
#include "core/export/fallback_fonts.h"

namespace paylark {

// A page's size in points.
struct PdfPageSize {
  int width;
  int height;
};
inline constexpr PdfPageSize kPdfLetterPage = {612, 792};

// A minimal PDF 1.4 writer: pages (US Letter unless told) of Helvetica text and straight lines,
// every object kept as text until the whole file is assembled with its cross-reference table.
// Objects 1 to 4 are fixed (catalog, procedure sets, font F1, page tree); pages and contents are
// numbered from 5 in the order they are made. Coordinates are points from the lower left corner of
// the page.
// Text is Helvetica in MacRomanEncoding; a character that encoding lacks is drawn from a font
// subset embedded after the content objects, so a document of MacRoman text alone has exactly the
// bytes it always had.
class PdfWriter {
 public:
  PdfWriter() = default;
  explicit PdfWriter(PdfPageSize pageSize) : pageSize_(pageSize) {}

  // Starts a page that takes all content added after it.
  void NewPage();
  // A block of UTF-8 text whose lines are separated by CR LF, the first line 14.4 points below y;
  // size multiplies 12 points. Content added before the first page is written but shown nowhere.
  void AddText(std::string_view text, int x, int y, int size);
  void AddLine(int x1, int y1, int x2, int y2, int width);
  // A long text wrapped to 500 units of Helvetica at cell height 9 × lineUnit / 5, in paragraphs
  // separated by CR LF, continued on new pages when a line steps below the bottom margin; "(" and
  // ")" become blanks.
  void AddWrappedText(std::string_view text, int x, int y, int size, int lineUnit);

  // The width of one line of text in thousandths of an em, as it would be drawn.
  int TextWidth(std::string_view text);
  // How many characters were drawn as "?" so far because no installed font has them.
  int LostCharacters() const { return lostCharacters_; }

  // The whole file; asking again gives the same bytes.
  std::string Bytes() const;

 private:
  // A piece of a line: MacRoman bytes in Helvetica (font -1), or UTF-8 text in fallback font n.
  struct Run {
    int font;
    std::string text;
  };
  std::vector<Run> Runs(std::string_view utf8);
  int FallbackFontFor(char32_t character);
  // True when some character needs a font besides Helvetica.
  bool NeedsFallback(std::string_view utf8);
  void CountLostCharacters(std::string_view utf8);
  void AddMacRomanText(std::string_view text, int x, int y, int size);
  void AddMixedText(std::string_view utf8, int x, int y, int size);
  std::string FontResources() const;
  void AddContent(std::string_view prefix, std::string_view stream, std::string_view suffix);

  PdfPageSize pageSize_ = kPdfLetterPage;
  int objectCount_ = 4;
  int currentPage_ = 0;
  std::map<int, std::string> pageContents_;  // page object → its content references, "5 0 R 6 0 R "
  std::map<int, std::string> contents_;      // content object → its full text
  std::unique_ptr<FallbackFonts> fallbackFonts_;  // made when a character first needs one
  int lostCharacters_ = 0;
};

}  // namespace paylark

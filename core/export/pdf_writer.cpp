#include "core/export/pdf_writer.h"

#include <cstdio>
#include <vector>

#include "core/base/text_encoding.h"
#include "core/export/helvetica_metrics.h"
#include "core/export/mac_roman.h"
#include "core/export/pdf_embedded_font.h"
#include "core/export/text_wrap.h"

namespace paylark {
namespace {

constexpr int kCatalog = 1;
constexpr int kProcSet = 2;
constexpr int kFont = 3;
constexpr int kPageTree = 4;

constexpr int kWrapExtent = 500;
constexpr int kBottomMargin = 65;
// A continued page starts as far below the page's top edge as the first line of a due's page.
constexpr int kContinuedTopMargin = 42;

std::string Number(int value) {
  return std::to_string(value);
}

// "(", ")" and "\" keep their meaning only escaped; a CR LF starts the next line.
std::string TextOperand(std::string_view macRoman) {
  std::string operand;
  operand.reserve(macRoman.size());
  for (std::size_t i = 0; i < macRoman.size(); ++i) {
    const char c = macRoman[i];
    if (c == '\r' && i + 1 < macRoman.size() && macRoman[i + 1] == '\n') {
      operand += ")Tj T*(";
      ++i;
      continue;
    }
    if (c == '(' || c == ')' || c == '\\')
      operand += '\\';
    operand += c;
  }
  return operand;
}

std::string PageObject(int number, const PdfPageSize& size, std::string_view contentReferences,
                       std::string_view fontResources) {
  return Number(number) + " 0 obj<</Type /Page /Parent " + Number(kPageTree) +
         " 0 R /MediaBox[0 0 " + Number(size.width) + " " + Number(size.height) + "] /Contents [" +
         std::string(contentReferences) + "] /Resources<</ProcSet " + Number(kProcSet) +
         " 0 R\r\n/Font << " + std::string(fontResources) + ">>>>>>\nendobj\n";
}

constexpr int kObjectsPerEmbeddedFont = 6;

// Control characters are not text: they are shown as "?" without counting as lost.
bool IsControl(std::uint32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

std::string GlyphHex(const std::vector<FallbackFonts::Glyph>& glyphs) {
  std::string hex;
  char digits[8];
  for (const FallbackFonts::Glyph& glyph : glyphs) {
    std::snprintf(digits, sizeof digits, "%04X", glyph.id & 0xFFFF);
    hex += digits;
  }
  return hex;
}

std::string XrefEntry(std::size_t offset) {
  char entry[32];
  std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offset);
  return entry;
}

}  // namespace

void PdfWriter::NewPage() {
  currentPage_ = ++objectCount_;
  pageContents_[currentPage_];
}

int PdfWriter::FallbackFontFor(char32_t character) {
  if (!fallbackFonts_)
    fallbackFonts_ = std::make_unique<FallbackFonts>();
  return fallbackFonts_->FontFor(character);
}

bool PdfWriter::NeedsFallback(std::string_view utf8) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::uint32_t c = NextCodePoint(utf8, pos);
    if (MacRomanCodeOf(c) < 0 && !IsControl(c) && FallbackFontFor(c) >= 0)
      return true;
  }
  return false;
}

void PdfWriter::CountLostCharacters(std::string_view utf8) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::uint32_t c = NextCodePoint(utf8, pos);
    if (MacRomanCodeOf(c) < 0 && !IsControl(c) && FallbackFontFor(c) < 0)
      ++lostCharacters_;
  }
}

std::vector<PdfWriter::Run> PdfWriter::Runs(std::string_view utf8) {
  std::vector<Run> runs;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    const std::uint32_t c = NextCodePoint(utf8, pos);
    const int code = MacRomanCodeOf(c);
    const int font = code >= 0 || IsControl(c) ? -1 : FallbackFontFor(c);
    if (runs.empty() || runs.back().font != font)
      runs.push_back({font, {}});
    if (font >= 0)
      runs.back().text.append(utf8.substr(start, pos - start));
    else
      runs.back().text += code >= 0 ? static_cast<char>(code) : '?';
  }
  return runs;
}

int PdfWriter::TextWidth(std::string_view text) {
  int width = 0;
  for (const Run& run : Runs(text)) {
    if (run.font < 0) {
      for (const char c : run.text)
        width += HelveticaAfmWidth(static_cast<unsigned char>(c));
      continue;
    }
    for (std::size_t pos = 0; pos < run.text.size();)
      width += fallbackFonts_->Advance(run.font, NextCodePoint(run.text, pos));
  }
  return width;
}

void PdfWriter::AddText(std::string_view text, int x, int y, int size) {
  CountLostCharacters(text);
  if (NeedsFallback(text)) {
    AddMixedText(text, x, y, size);
  } else {
    AddMacRomanText(Utf8ToMacRoman(text), x, y, size);
  }
}

// As a Helvetica block, each line shown run by run, switching to a fallback font and back.
void PdfWriter::AddMixedText(std::string_view utf8, int x, int y, int size) {
  const std::string fontSize = " " + Number(size) + " Tf ";
  std::string stream = "0 g\r1 i \rBT\r/F1" + fontSize +
                       "\r0 Tc 0 Tw 0  Ts 100  Tz 0 Tr 1.2 TL 12 0 0 12 " + Number(x) + " " +
                       Number(y) + " Tm \r";
  std::size_t start = 0;
  while (true) {
    const std::size_t end = utf8.find("\r\n", start);
    stream += "T* ";
    for (const Run& run :
         Runs(utf8.substr(start, end == std::string_view::npos ? end : end - start))) {
      if (run.font < 0) {
        stream += "(" + TextOperand(run.text) + ") Tj ";
      } else {
        stream += "/F" + Number(run.font + 2) + fontSize + "<";
        stream += GlyphHex(fallbackFonts_->Shape(run.font, run.text));
        stream += "> Tj /F1" + fontSize;
      }
    }
    stream += "\r";
    if (end == std::string_view::npos)
      break;
    start = end + 2;
  }
  stream += "ET";
  AddContent("<</Length ", stream, ">>stream\r\n");
}

void PdfWriter::AddMacRomanText(std::string_view text, int x, int y, int size) {
  const std::string stream = "0 g\r1 i \rBT\r/F1 " + Number(size) +
                             " Tf\r0 Tc 0 Tw 0  Ts 100  Tz 0 Tr 1.2 TL 12 0 0 12 " + Number(x) +
                             " " + Number(y) + " Tm \rT* (" + TextOperand(text) + ") Tj \rET";
  AddContent("<</Length ", stream, ">>stream\r\n");
}

void PdfWriter::AddLine(int x1, int y1, int x2, int y2, int width) {
  const std::string stream = Number(width) + " w\r\n" + Number(x1) + " " + Number(y1) + " m\r\n" +
                             Number(x2) + " " + Number(y2) + " l\r\nS";
  AddContent("<</Length ", stream, " >>stream\r\n");
}

void PdfWriter::AddContent(std::string_view prefix, std::string_view stream,
                           std::string_view suffix) {
  const int number = ++objectCount_;
  contents_[number] = Number(number) + " 0 obj" + std::string(prefix) +
                      std::to_string(stream.size()) + std::string(suffix) + std::string(stream) +
                      "\r\nendstream\rendobj\n";
  if (const auto page = pageContents_.find(currentPage_); page != pageContents_.end()) {
    page->second += Number(number) + " 0 R ";
  }
}

void PdfWriter::AddWrappedText(std::string_view text, int x, int y, int size, int lineUnit) {
  std::string plain(text);
  for (char& c : plain) {
    if (c == '(' || c == ')')
      c = ' ';
  }
  CountLostCharacters(plain);
  const HelveticaMeasure measure(9 * lineUnit / 5);
  const bool mixed = NeedsFallback(plain);
  std::vector<std::string> lines;
  if (mixed) {
    // Each character measured in the font that draws it, with Helvetica's rounding.
    const auto width = [&](char32_t c) {
      const int code = MacRomanCodeOf(c);
      const int font = code >= 0 || IsControl(c) ? -1 : FallbackFontFor(c);
      if (font >= 0)
        return measure.Scaled(fallbackFonts_->Advance(font, c));
      return measure.Width(static_cast<unsigned char>(code >= 0 ? code : '?'));
    };
    lines = WrapCharacters(plain, width, kWrapExtent);
  } else {
    lines = WrapText(Utf8ToMacRoman(plain), measure, kWrapExtent);
  }
  const auto addBlock = [&](const std::string& block, int top) {
    // Lost characters were counted for the whole text above.
    if (mixed && NeedsFallback(block))
      AddMixedText(block, x, top, size);
    else
      AddMacRomanText(mixed ? Utf8ToMacRoman(block) : block, x, top, size);
  };
  const int step = 2 * lineUnit;
  int blockTop = y;
  int cursor = y;
  std::string pending;
  for (const std::string& line : lines) {
    cursor -= step;
    if (cursor < kBottomMargin) {
      addBlock(pending, blockTop);
      NewPage();
      blockTop = cursor = pageSize_.height - kContinuedTopMargin;
      pending.clear();
    }
    pending += line;
    pending += "\r\n";
  }
  if (!pending.empty())
    addBlock(pending, blockTop);
}

// Font F1, then F2, F3, ... for the fallback fonts, numbered after the content objects.
std::string PdfWriter::FontResources() const {
  std::string resources = "/F1 " + Number(kFont) + " 0 R";
  const int fonts = fallbackFonts_ ? fallbackFonts_->FontCount() : 0;
  for (int font = 0; font < fonts; ++font) {
    resources += " /F" + Number(font + 2) + " " +
                 Number(objectCount_ + 1 + font * kObjectsPerEmbeddedFont) + " 0 R";
  }
  return resources;
}

std::string PdfWriter::Bytes() const {
  std::string file = "%PDF-1.4\r\n";
  std::vector<std::size_t> offsets(static_cast<std::size_t>(objectCount_) + 1);
  const int fonts = fallbackFonts_ ? fallbackFonts_->FontCount() : 0;
  const int objects = objectCount_ + fonts * kObjectsPerEmbeddedFont;
  offsets.resize(static_cast<std::size_t>(objects) + 1);
  const auto append = [&](int number, const std::string& object) {
    offsets[static_cast<std::size_t>(number)] = file.size();
    file += object;
  };
  append(kCatalog, Number(kCatalog) + " 0 obj<</Type /Catalog /Pages " + Number(kPageTree) +
                       " 0 R>>\nendobj\r");
  append(kProcSet, Number(kProcSet) + " 0 obj\r\n[/PDF /Text]\r\nendobj\n");
  append(kFont, Number(kFont) +
                    " 0 obj\r\n<< /Type /Font /Subtype /Type1 /Name /F1 /BaseFont /Helvetica "
                    "/Encoding /MacRomanEncoding>>endobj\r\n");
  std::string pageTree = Number(kPageTree) + " 0 obj<</Type /Pages /Kids [";
  for (const auto& [number, references] : pageContents_)
    pageTree += Number(number) + " 0 R ";
  pageTree += "] /Count " + std::to_string(pageContents_.size()) + ">>\nendobj\r";
  append(kPageTree, pageTree);
  const std::string fontResources = FontResources();
  for (const auto& [number, references] : pageContents_) {
    append(number, PageObject(number, pageSize_, references, fontResources));
  }
  for (const auto& [number, object] : contents_)
    append(number, object);
  for (int font = 0; font < fonts; ++font) {
    const int first = objectCount_ + 1 + font * kObjectsPerEmbeddedFont;
    const std::vector<std::string> fontObjects =
        EmbeddedFontObjects(fallbackFonts_->Embed(font), first, font);
    for (int i = 0; i < kObjectsPerEmbeddedFont; ++i)
      append(first + i, fontObjects[static_cast<std::size_t>(i)]);
  }

  const std::size_t xref = file.size();
  file += "xref\r\n0 " + Number(objects + 1) + "\r\n0000000000 65535 f\r\n";
  for (std::size_t number = 1; number < offsets.size(); ++number) {
    file += XrefEntry(offsets[number]);
  }
  file += "trailer\n<</Size " + Number(objects + 1) + "/Root " + Number(kCatalog) +
          " 0 R>>\r\nstartxref\r\n" + std::to_string(xref) + "\r\n%%EOF\r\n";
  return file;
}

}  // namespace paylark

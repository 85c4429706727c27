#include "core/export/pdf_writer.h"

#include <cstdio>
#include <vector>

#include "core/export/document_file.h"
#include "core/export/helvetica_metrics.h"
#include "core/export/mac_roman.h"
#include "core/export/text_wrap.h"

namespace paylark {
namespace {

constexpr int kCatalog = 1;
constexpr int kProcSet = 2;
constexpr int kFont = 3;
constexpr int kPageTree = 4;

constexpr int kWrapExtent = 500;
constexpr int kBottomMargin = 65;
constexpr int kContinuedTop = 750;

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

std::string PageObject(int number, std::string_view contentReferences) {
  return Number(number) + " 0 obj<</Type /Page /Parent " + Number(kPageTree) +
         " 0 R /MediaBox[0 0 612 792] /Contents [" + std::string(contentReferences) +
         "] /Resources<</ProcSet " + Number(kProcSet) + " 0 R\r\n/Font << /F1 " + Number(kFont) +
         " 0 R>>>>>>\nendobj\n";
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

void PdfWriter::AddText(std::string_view text, int x, int y, int size) {
  AddMacRomanText(Utf8ToMacRoman(text), x, y, size);
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
  std::string macRoman = Utf8ToMacRoman(text);
  for (char& c : macRoman) {
    if (c == '(' || c == ')')
      c = ' ';
  }
  const HelveticaMeasure measure(9 * lineUnit / 5);
  const int step = 2 * lineUnit;
  int blockTop = y;
  int cursor = y;
  std::string pending;
  for (const std::string& line : WrapText(macRoman, measure, kWrapExtent)) {
    cursor -= step;
    if (cursor < kBottomMargin) {
      AddMacRomanText(pending, x, blockTop, size);
      NewPage();
      blockTop = cursor = kContinuedTop;
      pending.clear();
    }
    pending += line;
    pending += "\r\n";
  }
  if (!pending.empty())
    AddMacRomanText(pending, x, blockTop, size);
}

std::string PdfWriter::Bytes() const {
  std::string file = "%PDF-1.4\r\n";
  std::vector<std::size_t> offsets(static_cast<std::size_t>(objectCount_) + 1);
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
  for (const auto& [number, references] : pageContents_) {
    append(number, PageObject(number, references));
  }
  for (const auto& [number, object] : contents_)
    append(number, object);

  const std::size_t xref = file.size();
  file += "xref\r\n0 " + Number(objectCount_ + 1) + "\r\n0000000000 65535 f\r\n";
  for (std::size_t number = 1; number < offsets.size(); ++number) {
    file += XrefEntry(offsets[number]);
  }
  file += "trailer\n<</Size " + Number(objectCount_ + 1) + "/Root " + Number(kCatalog) +
          " 0 R>>\r\nstartxref\r\n" + std::to_string(xref) + "\r\n%%EOF\r\n";
  return file;
}

Status PdfWriter::Write(const std::string& path) const {
  return WriteDocument(path, Bytes());
}

}  // namespace paylark

#include "core/export/pdf_export.h"

#include "core/base/format.h"
#include "core/base/paper_size.h"
#include "core/base/text_encoding.h"
#include "core/export/pdf_writer.h"
#include "core/records/payment.h"

namespace paylark {
namespace {

constexpr int kLineUnit = 8;
constexpr int kTitleX = 50;
constexpr int kRecordCountX = 400;
// The room a title may take on its line, in points at 12 points to the em: up to a gap before
// the record count.
constexpr int kTitleRoom = kRecordCountX - kTitleX - 12;
constexpr std::string_view kEllipsis = "…";

// The title, cut at a character boundary with "…" added when it does not fit its room.
std::string ShortenedTitle(PdfWriter& writer, const std::string& title) {
  const auto fits = [&](std::string_view text) {
    return writer.TextWidth(text) * 12 <= kTitleRoom * 1000;
  };
  if (fits(title))
    return title;
  std::vector<std::size_t> boundaries;
  for (std::size_t pos = 0; pos < title.size();) {
    NextCodePoint(title, pos);
    boundaries.push_back(pos);
  }
  // The longest prefix that fits with the ellipsis, found by halving.
  std::size_t low = 0;
  std::size_t high = boundaries.size();
  while (low < high) {
    const std::size_t middle = (low + high + 1) / 2;
    if (fits(title.substr(0, boundaries[middle - 1]) + std::string(kEllipsis)))
      low = middle;
    else
      high = middle - 1;
  }
  const std::size_t length = low == 0 ? 0 : boundaries[low - 1];
  return title.substr(0, length) + std::string(kEllipsis);
}

std::string BodyText(const DueRecord& record, NotesChoice notes) {
  std::string body = "\r\n\r\n Due : " + record.title +
                     "\r\n\r\n Start Date : " + FormatDate(record.startDate, "") +
                     "\r\n\r\n Due Date : " + FormatDate(record.dueDate, "") +
                     "\r\n\r\n Pay To : " + record.payTo + "\r\n\r\n Account: " + record.account +
                     "\r\n\r\n Amount: " + FormatAmount(ListedAmount(record)) +
                     "\r\n\r\n Due Type: " + std::string(TypeText(record.type)) +
                     "\r\n\r\n Status: " + StatusText(record);
  if (notes == NotesChoice::kWithNotes && !record.notes.empty()) {
    body += "\r\n\r\nNotes\r\n\r\n" + record.notes;
  }
  return body;
}

// The page's paper in whole points: A4 is 595 × 842.
PdfPageSize PageSizeOf(const PaperSize& paper) {
  return {(paper.width + 10) / 20, (paper.height + 10) / 20};
}

// Heads and bodies keep their distance from the top edge of any paper, footers from the bottom:
// `top` is how much higher the page is than US Letter.
void AddDuePages(PdfWriter& writer, const DueRecord& record, const std::string& recordCount,
                 NotesChoice notes, int top) {
  writer.NewPage();
  writer.AddText(ShortenedTitle(writer, record.title), kTitleX, top + 750, 1);
  writer.AddText(recordCount, kRecordCountX, top + 750, 1);
  writer.AddLine(50, top + 725, 500, top + 725, 1);
  writer.AddWrappedText(BodyText(record, notes), 50, top + 720, 1, kLineUnit);
  writer.AddText(recordCount, 50, 80, 1);
  writer.AddLine(50, 60, 500, 60, 1);
}

}  // namespace

Result<PdfExport> RenderPdfExport(std::span<const DueRecord> rows, std::string_view monthText,
                                  NotesChoice notes) {
  PdfExport document;
  const PdfPageSize page = PageSizeOf(LocalePaperSize());
  const int top = page.height - kPdfLetterPage.height;
  PdfWriter writer(page);
  writer.NewPage();
  writer.AddText("Due Date(s)", 100, top + 500, 2);
  writer.AddLine(100, top + 470, 500, top + 470, 2);
  writer.AddText(monthText, 380, top + 460, 2);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string recordCount =
        "Record " + std::to_string(i + 1) + " of " + std::to_string(rows.size());
    const int lostBefore = writer.LostCharacters();
    AddDuePages(writer, rows[i], recordCount, notes, top);
    if (writer.LostCharacters() > lostBefore)
      document.duesWithLostCharacters.push_back(rows[i].title);
  }
  document.bytes = writer.Bytes();
  return document;
}

}  // namespace paylark

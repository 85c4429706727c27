#include "core/office/docx_document.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/base/amount_sum.h"
#include "core/base/format.h"
#include "core/base/paper_size.h"
#include "core/office/ooxml_text.h"
#include "core/records/payment.h"

namespace paylark {
namespace {

constexpr std::string_view kBlack = "000000";
constexpr std::string_view kDarkBlue = "000080";
constexpr std::string_view kBlue = "0000C8";
constexpr std::string_view kLightGrey = "DCDCDC";
constexpr std::string_view kLightBlueGrey = "D3DFEE";

// Font sizes in half points: the document's base is 12 pt, the heading two points larger, the
// dues and the summary four points smaller.
constexpr int kBaseSize = 24;
constexpr int kHeadingSize = kBaseSize + 4;
constexpr int kBodySize = kBaseSize - 8;

// Column widths in twentieths of a point, drawn for the text width of an A4 page with 2.54 cm
// margins and scaled to the locale's paper. A cell's text is 2 × 108 narrower (the cell margins).
constexpr std::array<int, 5> kWidthsWithNotes = {2200, 2200, 1600, 1700, 1326};
constexpr std::array<int, 4> kWidthsWithoutNotes = {2500, 2500, 1926, 2100};
constexpr int kA4TextWidth = 9026;
constexpr int kPageMargin = 1440;
constexpr int kCellMargins = 216;
constexpr std::array<std::string_view, 5> kHeadings = {"Due", "Pay To/Account", "Type/Status",
                                                       "Amount", "Notes"};

constexpr std::string_view kWordNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

enum class Align { kLeft, kCenter, kRight };

struct RunStyle {
  std::string_view color = kBlack;
  int size = kBodySize;
  bool underline = false;
};

std::string AlignValue(Align align) {
  switch (align) {
    case Align::kCenter:
      return "center";
    case Align::kRight:
      return "right";
    case Align::kLeft:
      break;
  }
  return "left";
}

std::string Shading(std::string_view fill) {
  return "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"" + std::string(fill) + "\"/>";
}

// Line breaks and tabs become Word's own elements; a lone CR is dropped.
std::string RunContent(std::string_view text) {
  std::string content;
  std::string pending;
  auto flush = [&] {
    if (!pending.empty())
      content += "<w:t xml:space=\"preserve\">" + XmlEscaped(pending) + "</w:t>";
    pending.clear();
  };
  for (const char character : NotesWithLineFeeds(text)) {
    if (character == '\n' || character == '\t') {
      flush();
      content += character == '\n' ? "<w:br/>" : "<w:tab/>";
    } else if (character != '\r') {
      pending += character;
    }
  }
  flush();
  return content;
}

// Every run is bold, as every typing step of the layout asks.
std::string Run(std::string_view text, const RunStyle& style) {
  const std::string size = std::to_string(style.size);
  std::string run = "<w:r><w:rPr><w:b/><w:bCs/><w:color w:val=\"" + std::string(style.color) +
                    "\"/><w:sz w:val=\"" + size + "\"/><w:szCs w:val=\"" + size + "\"/>";
  if (style.underline)
    run += "<w:u w:val=\"single\"/>";
  return run + "</w:rPr>" + RunContent(text) + "</w:r>";
}

// The run, marked as the anchor of comment `id` in word/comments.xml.
std::string CommentedRun(std::string_view text, const RunStyle& style, int id) {
  const std::string number = std::to_string(id);
  return "<w:commentRangeStart w:id=\"" + number + "\"/>" + Run(text, style) +
         "<w:commentRangeEnd w:id=\"" + number +
         "\"/><w:r><w:rPr><w:rStyle w:val=\"CommentReference\"/></w:rPr>"
         "<w:commentReference w:id=\"" +
         number + "\"/></w:r>";
}

std::string Paragraph(std::string_view content, Align align = Align::kLeft,
                      std::optional<std::string_view> fill = {}, std::optional<int> rightTab = {}) {
  std::string paragraph = "<w:p><w:pPr>";
  if (fill)
    paragraph += Shading(*fill);
  if (rightTab) {
    paragraph +=
        "<w:tabs><w:tab w:val=\"right\" w:pos=\"" + std::to_string(*rightTab) + "\"/></w:tabs>";
  }
  paragraph += "<w:jc w:val=\"" + AlignValue(align) + "\"/></w:pPr>";
  return paragraph + std::string(content) + "</w:p>";
}

std::string Cell(int width, std::string_view paragraphs, std::optional<std::string_view> fill = {},
                 std::string_view verticalAlign = "top") {
  std::string cell = "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(width) + "\" w:type=\"dxa\"/>";
  if (fill)
    cell += Shading(*fill);
  cell += "<w:vAlign w:val=\"" + std::string(verticalAlign) + "\"/></w:tcPr>";
  return cell + std::string(paragraphs) + "</w:tc>";
}

class TableBuilder {
 public:
  TableBuilder(NotesChoice notes, const PaperSize& paper) : notes_(notes) {
    const std::span<const int> drawn = notes == NotesChoice::kWithNotes
                                           ? std::span<const int>(kWidthsWithNotes)
                                           : std::span<const int>(kWidthsWithoutNotes);
    const int textWidth = paper.width - 2 * kPageMargin;
    int remaining = textWidth;
    for (std::size_t column = 0; column + 1 < drawn.size(); ++column) {
      widths_.push_back(drawn[column] * textWidth / kA4TextWidth);
      remaining -= widths_.back();
    }
    widths_.push_back(remaining);
  }

  std::string Start() const {
    int total = 0;
    for (const int width : widths_)
      total += width;
    std::string table = "<w:tbl><w:tblPr><w:tblW w:w=\"" + std::to_string(total) +
                        "\" w:type=\"dxa\"/><w:tblBorders>";
    for (const std::string_view side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
      table += "<w:" + std::string(side) +
               " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>";
    }
    table += "</w:tblBorders><w:tblLayout w:type=\"fixed\"/></w:tblPr><w:tblGrid>";
    for (const int width : widths_)
      table += "<w:gridCol w:w=\"" + std::to_string(width) + "\"/>";
    return table + "</w:tblGrid>";
  }

  std::string HeadingRow() const {
    const RunStyle style{kDarkBlue, kBaseSize, false};
    std::string row = "<w:tr>";
    for (std::size_t column = 0; column < widths_.size(); ++column) {
      row += Cell(widths_[column], Paragraph(Run(kHeadings[column], style)), kLightGrey, "center");
    }
    return row + "</w:tr>";
  }

  std::string DueRow(const DueRecord& due, int commentId) const {
    const RunStyle text{};
    const std::string dates =
        FormatDocumentDate(due.startDate) + "\t" + FormatDocumentDate(due.dueDate);
    const int datesTab = widths_[0] - kCellMargins;
    std::string row = "<w:tr>";
    row += Cell(widths_[0], Paragraph(Run(due.title, text), Align::kCenter, kLightBlueGrey) +
                                Paragraph(Run(dates, text), Align::kLeft, {}, datesTab));
    row += Cell(widths_[1],
                Paragraph(Run(due.payTo, text)) + Paragraph(Run(due.account, text), Align::kRight));
    row += Cell(widths_[2], Paragraph(Run(TypeText(due.type), text)) +
                                Paragraph(Run(StatusText(due), text), Align::kRight));
    row += Cell(widths_[3], Paragraph(Run(FormatAmount(ListedAmount(due)), text), Align::kRight),
                {}, "bottom");
    if (notes_ == NotesChoice::kWithNotes) {
      row += Cell(widths_[4], Paragraph(CommentedRun("Show Notes", text, commentId)));
    }
    return row + "</w:tr>";
  }

  std::string SummaryRow(int paidCount, int dueCount, const AmountSum& paidSum,
                         const AmountSum& unpaidSum) const {
    const RunStyle blue{kBlue, kBodySize, false};
    const std::string status =
        "Status: (" + std::to_string(paidCount) + "/" + std::to_string(dueCount) + ")";
    std::string row = "<w:tr>" + Cell(widths_[0], Paragraph(Run(status, blue)), kLightGrey);
    const std::array<Cents, 3> sums = {paidSum.cents(), unpaidSum.cents(),
                                       (unpaidSum + paidSum).cents()};
    for (std::size_t i = 0; i < sums.size(); ++i) {
      row +=
          Cell(widths_[i + 1],
               Paragraph(Run(FormatAmount(FromCents(sums[i])), blue), Align::kRight), kLightGrey);
    }
    if (notes_ == NotesChoice::kWithNotes)
      row += Cell(widths_[4], Paragraph(""), kLightGrey);
    return row + "</w:tr>";
  }

 private:
  NotesChoice notes_;
  std::vector<int> widths_;
};

std::string Comment(int id, std::string_view notes) {
  std::string comment =
      "<w:comment w:id=\"" + std::to_string(id) + "\" w:author=\"Paylark\" w:initials=\"P\">";
  const std::string text = NotesWithLineFeeds(notes);
  std::size_t start = 0;
  bool first = true;
  while (true) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line =
        std::string_view(text).substr(start, end == std::string::npos ? end : end - start);
    comment += "<w:p><w:pPr><w:pStyle w:val=\"CommentText\"/></w:pPr>";
    if (first) {
      comment +=
          "<w:r><w:rPr><w:rStyle w:val=\"CommentReference\"/></w:rPr><w:annotationRef/></w:r>";
      first = false;
    }
    if (!line.empty())
      comment += "<w:r>" + RunContent(line) + "</w:r>";
    comment += "</w:p>";
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return comment + "</w:comment>";
}

std::string XmlPart(std::string_view root, std::string_view content) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:" + std::string(root) +
         " " + std::string(kWordNamespaces) + ">" + std::string(content) +
         "</w:" + std::string(root) + ">";
}

std::string Section(const PaperSize& paper) {
  const std::string margin = std::to_string(kPageMargin);
  return "<w:sectPr><w:pgSz w:w=\"" + std::to_string(paper.width) + "\" w:h=\"" +
         std::to_string(paper.height) + "\"/><w:pgMar w:top=\"" + margin + "\" w:right=\"" +
         margin + "\" w:bottom=\"" + margin + "\" w:left=\"" + margin +
         "\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>";
}

}  // namespace

DocxParts BuildDocxParts(const OfficeExportRequest& request) {
  const PaperSize paper = LocalePaperSize();
  if (request.rows.empty()) {
    return {XmlPart("document", "<w:body><w:p/>" + Section(paper) + "</w:body>"), {}};
  }
  const RunStyle headingStyle{kBlack, kHeadingSize, true};
  std::string body = Paragraph(Run(request.monthText, headingStyle), Align::kCenter) +
                     Paragraph("", Align::kCenter);

  const TableBuilder table(request.notes, paper);
  body += table.Start() + table.HeadingRow();
  std::string comments;
  int paidCount = 0;
  AmountSum paidSum;
  AmountSum unpaidSum;
  AmountSum incomeSum;
  bool anyIncome = false;
  int commentId = 0;
  for (const DueRecord& due : request.rows) {
    // The sums are the status bar's: what was paid, and bills only; incomes apart.
    if (IsIncome(due)) {
      incomeSum.Add(ToCents(due.amount));
      anyIncome = true;
    } else {
      paidCount += IsPaid(due) ? 1 : 0;
      paidSum.Add(PaidShare(due));
      unpaidSum.Add(LeftCents(due));
    }
    body += table.DueRow(due, commentId);
    if (request.notes == NotesChoice::kWithNotes)
      comments += Comment(commentId, due.notes);
    ++commentId;
  }
  const int dueCount = static_cast<int>(request.rows.size());
  body += table.SummaryRow(paidCount, dueCount, paidSum, unpaidSum) + "</w:tbl>";
  body += anyIncome ? Paragraph(Run("Income : " + FormatAmount(FromCents(incomeSum.cents())),
                                    {kBlue, kBodySize, false}))
                    : "<w:p/>";

  DocxParts parts;
  parts.document = XmlPart("document", "<w:body>" + body + Section(paper) + "</w:body>");
  if (!comments.empty())
    parts.comments = XmlPart("comments", comments);
  return parts;
}

}  // namespace paylark

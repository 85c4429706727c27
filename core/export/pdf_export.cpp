#include "core/export/pdf_export.h"

#include "core/base/format.h"
#include "core/export/pdf_writer.h"

namespace paylark {
namespace {

constexpr int kLineUnit = 8;

std::string BodyText(const DueRecord& record, NotesChoice notes) {
  std::string body = "\r\n\r\n Due : " + record.title +
                     "\r\n\r\n Start Date : " + FormatDate(record.startDate, "") +
                     "\r\n\r\n Due Date : " + FormatDate(record.dueDate, "") +
                     "\r\n\r\n Pay To : " + record.payTo + "\r\n\r\n Account: " + record.account +
                     "\r\n\r\n Amount: " + FormatAmount(record.amount) +
                     "\r\n\r\n Due Type: " + std::string(TypeText(record.type)) +
                     "\r\n\r\n Status: " + std::string(PaidText(record.paid));
  if (notes == NotesChoice::kWithNotes && !record.notes.empty()) {
    body += "\r\n\r\nNotes\r\n\r\n" + record.notes;
  }
  return body;
}

void AddDuePages(PdfWriter& writer, const DueRecord& record, const std::string& recordCount,
                 NotesChoice notes) {
  writer.NewPage();
  writer.AddText(record.title, 50, 750, 1);
  writer.AddText(recordCount, 400, 750, 1);
  writer.AddLine(50, 725, 500, 725, 1);
  writer.AddWrappedText(BodyText(record, notes), 50, 720, 1, kLineUnit);
  writer.AddText(recordCount, 50, 80, 1);
  writer.AddLine(50, 60, 500, 60, 1);
}

}  // namespace

std::string RenderPdfExport(std::span<const DueRecord> rows, std::string_view monthText,
                            NotesChoice notes) {
  PdfWriter writer;
  writer.NewPage();
  writer.AddText("Due Date(s)", 100, 500, 2);
  writer.AddLine(100, 470, 500, 470, 2);
  writer.AddText(monthText, 380, 460, 2);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string recordCount =
        "Record " + std::to_string(i + 1) + " of " + std::to_string(rows.size());
    AddDuePages(writer, rows[i], recordCount, notes);
  }
  return writer.Bytes();
}

}  // namespace paylark

#include "core/export/html_export.h"

#include <array>
#include <utility>

#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/export/html_text.h"
#include "core/export/template_text.h"
#include "core/records/payment.h"

namespace paylark {
namespace {

constexpr std::string_view kNotesStart = "<{[notesstart]}>";
constexpr std::string_view kNotesEnd = "<{[notesend]}>";
constexpr std::string_view kMonthYear = "<{[monthyear]}>";

std::array<Substitution, 9> RecordValues(const DueRecord& record, std::size_t position,
                                         std::size_t count) {
  return {{
      {"<{[duetitle]}>", HtmlEscaped(record.title)},
      {"<{[dates]}>",
       FormatDocumentDate(record.startDate) + " - " + FormatDocumentDate(record.dueDate)},
      {"<{[payee]}>", HtmlEscaped(record.payTo)},
      {"<{[account]}>", HtmlEscaped(record.account)},
      {"<{[duetype]}>", std::string(TypeText(record.type))},
      {"<{[status]}>", HtmlEscaped(StatusText(record))},
      {"<{[amount]}>", HtmlEscaped(FormatAmount(ListedAmount(record)))},
      {"<{[notes]}>", HtmlEscapedLines(record.notes)},
      {"<{[countrecord]}>", "Record " + std::to_string(position) + " of " + std::to_string(count)},
  }};
}

Status TooLarge() {
  return Status::InvalidArgument(MessageText(MessageId::kDocumentTooLarge));
}

}  // namespace

Result<std::string> RenderHtmlExport(std::string_view templateText, std::span<const DueRecord> rows,
                                     std::string_view monthText, NotesChoice notes) {
  std::string text(templateText);
  const std::string recordSection = SectionBetween(text, kLoopStart, kLoopEnd);
  RemoveAll(text, recordSection);

  LoopExpansion expansion(text);
  for (std::size_t i = 0; i < rows.size() && expansion.HasMarker(); ++i) {
    const DueRecord& record = rows[i];
    std::string copy = recordSection;
    if (!ReplaceEach(copy, RecordValues(record, i + 1, rows.size())))
      return TooLarge();
    if (notes == NotesChoice::kWithoutNotes || record.notes.empty()) {
      RemoveAll(copy, SectionBetween(copy, kNotesStart, kNotesEnd));
    }
    if (!expansion.Expand(copy))
      return TooLarge();
  }

  text = std::move(expansion).Text();
  if (!ReplaceAll(text, kMonthYear, HtmlEscaped(monthText)))
    return TooLarge();
  for (const std::string_view marker : {kNotesStart, kNotesEnd, kLoopStart, kLoopEnd}) {
    RemoveAll(text, marker);
  }
  return text;
}

}  // namespace paylark

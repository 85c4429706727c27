#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"
#include "core/export/notes_choice.h"
#include "core/records/due_record.h"

namespace paylark {

// The PDF of the month list's rows in list order: a cover page with "Due Date(s)" and the month
// text ("MMM - yyyy", formatted by the caller), then a page per due, continued on further pages
// when its text is long. Dates are the locale's short dates. Callers write nothing for an empty
// list. A title too long for its line is shortened with "…" so the record count stays clear.
// The paper is the locale's (LC_PAPER), as the Word export's: US Letter in en_US, A4 in de_DE.
struct PdfExport {
  std::string bytes;
  // The titles of the dues that lost characters to "?" because no installed font has them.
  std::vector<std::string> duesWithLostCharacters;
};
// A program that loads its formats from a module fails when the module cannot be loaded.
Result<PdfExport> RenderPdfExport(std::span<const DueRecord> rows, std::string_view monthText,
                                  NotesChoice notes);

}  // namespace paylark

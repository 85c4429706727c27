#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/export/notes_choice.h"
#include "core/records/due_record.h"

namespace paylark {

inline constexpr std::string_view kHtmlExportTemplateName = "exporttemplate.html";

// Fills the export template with the rows in list order: the record section once per row, its
// notes section emptied for a row without notes (or without the notes choice), and the month text
// ("MMMM - yyyy", formatted by the caller) everywhere. Values are HTML-escaped (notes keep their
// line breaks as "<br>"); the bytes are those of replacing the placeholders one after the other.
// Fails only when the document would pass 64 MiB. Callers write nothing for an empty list.
Result<std::string> RenderHtmlExport(std::string_view templateText, std::span<const DueRecord> rows,
                                     std::string_view monthText, NotesChoice notes);

}  // namespace paylark

#pragma once

#include <span>
#include <string>

#include "cli/command.h"
#include "core/export/notes_choice.h"
#include "core/records/due_record.h"

namespace paylark::cli {

// The office formats of `export`: each writes the rows (in list order) of `month` to `output` and
// returns the exit code. A cut over-long text is told on the error stream; the export succeeds.
int ExportXlsx(std::span<const DueRecord> rows, const OleDateTime& month, NotesChoice notes,
               const std::string& output, CommandContext& context);
int ExportDocx(std::span<const DueRecord> rows, const OleDateTime& month, NotesChoice notes,
               const std::string& output, CommandContext& context);

}  // namespace paylark::cli

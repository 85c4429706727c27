#pragma once

#include <span>
#include <string>

#include "core/base/ole_date_time.h"
#include "core/export/notes_choice.h"
#include "core/records/due_record.h"

namespace paylark {

// What the Excel and Word exports write: the month list's rows in list order, the month as the
// target shows it (the caller formats it), the notes choice, and the local time stamped into the
// file as its creation time (so equal requests give equal bytes).
struct OfficeExportRequest {
  std::span<const DueRecord> rows;
  std::string monthText;
  NotesChoice notes = NotesChoice::kWithNotes;
  OleDateTime createdAt;
};

// What a written export leaves for the user to know beyond success.
struct OfficeExportReport {
  // Cells and comments whose text was cut to the workbook's limit of 32,767 characters.
  int shortenedTexts = 0;
};

}  // namespace paylark

#pragma once

#include <QString>
#include <span>
#include <string_view>

#include "core/export/notes_choice.h"
#include "core/records/due_record.h"

class QWidget;

namespace paylark {

class PaylarkApp;

enum class ExportTarget { kExcel, kWord, kHtml, kPdf };

// The eight export commands: exactly the month list's rows, in list order, to one target.
// HTML and PDF ask for the file (an empty list asks nothing and writes nothing); the workbook and
// the Word document go to <working directory>/Exports under a readable unique name. Each written
// file is opened with the desktop, and the returned note says where it went. A failure is told
// in a message box and the note is empty.
class ExportCommands final {
 public:
  ExportCommands(PaylarkApp& app, QWidget* window);

  QString Export(ExportTarget target, NotesChoice notes, std::span<const DueRecord> rows);

 private:
  QString ExportOffice(ExportTarget target, NotesChoice notes, std::span<const DueRecord> rows);
  QString ExportHtml(NotesChoice notes, std::span<const DueRecord> rows);
  QString ExportPdf(NotesChoice notes, std::span<const DueRecord> rows);
  // Writes the whole file or tells why not; then opens it.
  QString Written(const QString& path, std::string_view bytes);
  // Opens the written file and says where it is.
  QString Opened(const QString& path);
  void TellFailure(const QString& text);

  PaylarkApp& app_;
  QWidget* window_;
};

// "<folder>/<base>.<suffix>", or "<base> (2).<suffix>", "(3)", ... for the first name not taken.
QString UniqueFileName(const QString& folder, const QString& base, const QString& suffix);

}  // namespace paylark

#pragma once

#include <QString>
#include <functional>
#include <span>
#include <string_view>

#include "core/export/month_heading.h"
#include "core/export/notes_choice.h"
#include "core/records/due_record.h"
#include "settings/setting_catalogue.h"

class QWidget;

namespace paylark {

class PaylarkApp;

enum class ExportTarget { kExcel, kWord, kHtml, kPdf, kCalendar, kCsv };

// The export commands: exactly the month list's rows, in list order, to one target.
// An empty list is told and writes nothing. HTML, PDF, the calendar and CSV ask for the file; the
// workbook and the Word document go to <working directory>/Exports under a readable unique name.
// A message names each written file and offers to open it or show its folder; the returned note
// says where it went, and showNote hears it before the message asks, so the window never shows an
// earlier export's note beside the question. A failure is told in a message box and the note is
// empty.
class ExportCommands final {
 public:
  using NoteShower = std::function<void(const QString& note)>;
  ExportCommands(PaylarkApp& app, QWidget* window, NoteShower showNote = {});

  QString Export(ExportTarget target, NotesChoice notes, std::span<const DueRecord> rows);

 private:
  QString ExportOffice(ExportFormat format, NotesChoice notes, std::span<const DueRecord> rows);
  QString ExportHtml(NotesChoice notes, std::span<const DueRecord> rows);
  QString ExportPdf(NotesChoice notes, std::span<const DueRecord> rows);
  QString ExportExchange(ExportTarget target, std::span<const DueRecord> rows);
  // The Save As dialog, opened in the folder that lastFolder names (where the last such export
  // went), else in <working directory>/Exports; the chosen path, or empty.
  QString ChooseSavePath(const settings::TextSetting& lastFolder, const QString& fileName,
                         const QString& filter);
  // Writes the whole file or tells why not; then offers it.
  QString Written(const QString& path, std::string_view bytes);
  // Says where the written file is (remark follows), then opens it or its folder as asked.
  QString Offered(const QString& path, const QString& remark);
  void TellFailure(const QString& text);

  PaylarkApp& app_;
  QWidget* window_;
  NoteShower showNote_;
};

// "<folder>/<base>.<suffix>", or "<base> (2).<suffix>", "(3)", ... for the first name not taken.
QString UniqueFileName(const QString& folder, const QString& base, const QString& suffix);

}  // namespace paylark

#include "ui/export/export_commands.h"

#include <QDir>
#include <QFileInfo>

#include "core/export/docx_export.h"
#include "core/export/xlsx_export.h"
#include "core/records/format.h"
#include "core/records/messages.h"
#include "ui/app/desktop_services.h"
#include "ui/app/paylark_app.h"
#include "ui/app/wait_cursor.h"

namespace paylark {
namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

QString MessageOf(MessageId id, const std::string& text, const std::string& detail) {
  return FromStd(MessageText(Message{id, text, 0, detail}));
}

}  // namespace

QString UniqueFileName(const QString& folder, const QString& base, const QString& suffix) {
  QString path = folder + QLatin1Char('/') + base + QLatin1Char('.') + suffix;
  for (int copy = 2; QFileInfo::exists(path); ++copy) {
    path = QStringLiteral("%1/%2 (%3).%4").arg(folder, base).arg(copy).arg(suffix);
  }
  return path;
}

ExportCommands::ExportCommands(CPaylarkApp& app, QWidget* window) : app_(app), window_(window) {}

QString ExportCommands::Export(ExportTarget target, NotesChoice notes,
                               std::span<const DueRecord> rows) {
  switch (target) {
    case ExportTarget::kExcel:
    case ExportTarget::kWord:
      return ExportOffice(target, notes, rows);
    case ExportTarget::kHtml:
      return ExportHtml(notes, rows);
    case ExportTarget::kPdf:
      return ExportPdf(notes, rows);
  }
  return {};
}

QString ExportCommands::ExportOffice(ExportTarget target, NotesChoice notes,
                                     std::span<const DueRecord> rows) {
  WaitCursor wait;
  const bool excel = target == ExportTarget::kExcel;
  const OleDateTime month = app_.selectedMonth();
  OfficeExportRequest request{
      rows, excel ? FormatStrftime(month, "%B, %Y") : FormatDate(month, "MMMM-yyyy"), notes,
      app_.clock().Now()};
  const QString folder = FromStd(app_.workingDirectory()) + QStringLiteral("/Exports");
  QDir().mkpath(folder);
  const QString base = QStringLiteral("Paylark ") + FromStd(FormatStrftime(month, "%B %Y"));
  const QString path = UniqueFileName(folder, base, excel ? "xlsx" : "docx");
  Status status = Status::Ok();
  if (excel) {
    Result<OfficeExportReport> written = WriteXlsxExport(path.toStdString(), request);
    if (!written.ok())
      status = written.status();
  } else {
    status = WriteDocxExport(path.toStdString(), request);
  }
  if (!status.ok()) {
    const MessageId failure = excel ? MessageId::kExcelExportFailed : MessageId::kWordExportFailed;
    TellFailure(FromStd(MessageText(failure)) + QStringLiteral("\n\n") +
                MessageOf(MessageId::kFileWriteFailed, path.toStdString(), status.message()));
    return {};
  }
  return Opened(path);
}

QString ExportCommands::ExportHtml(NotesChoice, std::span<const DueRecord> rows) {
  if (rows.empty())
    return {};
  WaitCursor wait;
  const QString path = app_.desktop().ChooseSavePath(
      window_, {QStringLiteral("Save As"), QStringLiteral("Export.html"),
                QStringLiteral("HTML Files (*.html)"), QStringLiteral("html")});
  if (path.isEmpty())
    return {};
  return {};
}

QString ExportCommands::ExportPdf(NotesChoice, std::span<const DueRecord> rows) {
  if (rows.empty())
    return {};
  const QString path = app_.desktop().ChooseSavePath(
      window_, {QStringLiteral("Save As"), QStringLiteral("Export.pdf"),
                QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf")});
  if (path.isEmpty())
    return {};
  return {};
}

QString ExportCommands::Opened(const QString& path) {
  (void)app_.desktop().OpenFile(path);
  return QStringLiteral("Exported to ") + QDir::toNativeSeparators(path);
}

void ExportCommands::TellFailure(const QString& text) {
  app_.prompt().Tell(window_, text, PromptIcon::kWarning);
}

}  // namespace paylark

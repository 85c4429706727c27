#include "ui/export/export_commands.h"

#include <QDir>
#include <QFileInfo>

#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/exchange/calendar_feed.h"
#include "core/exchange/csv_export.h"
#include "core/export/data_files.h"
#include "core/export/document_file.h"
#include "core/export/html_export.h"
#include "core/export/pdf_export.h"
#include "core/export/template_files.h"
#include "core/office/docx_export.h"
#include "core/office/xlsx_export.h"
#include "settings/user_settings.h"
#include "ui/base/desktop_services.h"
#include "ui/base/paylark_app.h"
#include "ui/base/wait_cursor.h"

namespace paylark {
namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

QString MessageOf(MessageId id, const std::string& text, long long number = 0) {
  return FromStd(MessageText(Message{id, text, number, {}}));
}

}  // namespace

QString UniqueFileName(const QString& folder, const QString& base, const QString& suffix) {
  QString path = folder + QLatin1Char('/') + base + QLatin1Char('.') + suffix;
  for (int copy = 2; QFileInfo::exists(path); ++copy) {
    path = QStringLiteral("%1/%2 (%3).%4").arg(folder, base).arg(copy).arg(suffix);
  }
  return path;
}

ExportCommands::ExportCommands(PaylarkApp& app, QWidget* window, NoteShower showNote)
    : app_(app), window_(window), showNote_(std::move(showNote)) {}

QString ExportCommands::Export(ExportTarget target, NotesChoice notes,
                               std::span<const DueRecord> rows) {
  if (rows.empty()) {
    app_.prompt().Tell(
        window_,
        MessageOf(MessageId::kNoDuesToExport, FormatDate(app_.selectedMonth(), "MMMM yyyy")),
        PromptIcon::kInformation);
    return {};
  }
  switch (target) {
    case ExportTarget::kExcel:
      return ExportOffice(ExportFormat::kExcel, notes, rows);
    case ExportTarget::kWord:
      return ExportOffice(ExportFormat::kWord, notes, rows);
    case ExportTarget::kHtml:
      return ExportHtml(notes, rows);
    case ExportTarget::kPdf:
      return ExportPdf(notes, rows);
    case ExportTarget::kCalendar:
    case ExportTarget::kCsv:
      return ExportExchange(target, rows);
  }
  return {};
}

QString ExportCommands::ExportOffice(ExportFormat format, NotesChoice notes,
                                     std::span<const DueRecord> rows) {
  WaitCursor wait;
  const bool excel = format == ExportFormat::kExcel;
  const OleDateTime month = app_.selectedMonth();
  const OfficeExportRequest request{rows, MonthHeading(format, month), notes, app_.clock().Now()};
  const QString folder = FromStd(app_.workingDirectory()) + QStringLiteral("/Exports");
  QDir().mkpath(folder);
  const QString base = QStringLiteral("Paylark ") + FromStd(FormatStrftime(month, "%B %Y"));
  const QString path = UniqueFileName(folder, base, excel ? "xlsx" : "docx");
  QString shortened;
  Status status = Status::Ok();
  if (excel) {
    Result<OfficeExportReport> written = WriteXlsxExport(path.toStdString(), request);
    if (!written.ok()) {
      status = written.status();
    } else if (written.value().shortenedTexts > 0) {
      shortened = QStringLiteral(" ") +
                  MessageOf(MessageId::kExportTextsShortened, {}, written.value().shortenedTexts);
    }
  } else {
    status = WriteDocxExport(path.toStdString(), request);
  }
  if (!status.ok()) {
    TellFailure(FromStd(status.message()));
    return {};
  }
  return Offered(path, shortened);
}

QString ExportCommands::ExportHtml(NotesChoice notes, std::span<const DueRecord> rows) {
  WaitCursor wait;
  const std::optional<std::string> templatePath =
      FindTemplate(kHtmlExportTemplateName, DataFolders(DataKind::kTemplates, app_.store().files()),
                   app_.store().files());
  if (!templatePath) {
    TellFailure(MessageOf(MessageId::kTemplateNotFound, std::string(kHtmlExportTemplateName)));
    return {};
  }
  const QString path = ChooseSavePath(settings::kLastHtmlFolder, QStringLiteral("Export.html"),
                                      QStringLiteral("HTML Files (*.html)"));
  if (path.isEmpty())
    return {};
  const Result<std::string> templateText = ReadTemplate(*templatePath, app_.store().files());
  if (!templateText.ok()) {
    TellFailure(FromStd(templateText.status().message()));
    return {};
  }
  const Result<std::string> html = RenderHtmlExport(
      templateText.value(), rows, MonthHeading(ExportFormat::kHtml, app_.selectedMonth()), notes);
  if (!html.ok()) {
    TellFailure(FromStd(html.status().message()));
    return {};
  }
  return Written(path, html.value());
}

QString ExportCommands::ExportPdf(NotesChoice notes, std::span<const DueRecord> rows) {
  const QString path = ChooseSavePath(settings::kLastPdfFolder, QStringLiteral("Export.pdf"),
                                      QStringLiteral("PDF Files (*.pdf)"));
  if (path.isEmpty())
    return {};
  const Result<PdfExport> rendered =
      RenderPdfExport(rows, MonthHeading(ExportFormat::kPdf, app_.selectedMonth()), notes);
  if (!rendered.ok()) {
    TellFailure(FromStd(rendered.status().message()));
    return {};
  }
  const PdfExport& pdf = rendered.value();
  QString written = Written(path, pdf.bytes);
  if (!written.isEmpty() && !pdf.duesWithLostCharacters.empty()) {
    std::string titles;
    for (const std::string& title : pdf.duesWithLostCharacters)
      titles += title + "\n";
    titles.pop_back();
    TellFailure(MessageOf(MessageId::kPdfCharactersLost, titles,
                          static_cast<long long>(pdf.duesWithLostCharacters.size())));
  }
  return written;
}

QString ExportCommands::ChooseSavePath(const settings::TextSetting& lastFolder,
                                       const QString& fileName, const QString& filter) {
  QString folder = UserSettings::Read(lastFolder);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
    folder = FromStd(app_.workingDirectory()) + QStringLiteral("/Exports");
    QDir().mkpath(folder);
  }
  QString path = app_.desktop().ChooseSavePath(
      window_, {QStringLiteral("Save As"), folder + QLatin1Char('/') + fileName, filter,
                QFileInfo(fileName).suffix()});
  if (!path.isEmpty())
    UserSettings::Write(lastFolder, QFileInfo(path).absolutePath());
  return path;
}

QString ExportCommands::ExportExchange(ExportTarget target, std::span<const DueRecord> rows) {
  const bool calendar = target == ExportTarget::kCalendar;
  const QString path =
      calendar ? ChooseSavePath(settings::kLastCalendarFolder, QStringLiteral("Export.ics"),
                                QStringLiteral("iCalendar Files (*.ics)"))
               : ChooseSavePath(settings::kLastCsvFolder, QStringLiteral("Export.csv"),
                                QStringLiteral("CSV Files (*.csv)"));
  if (path.isEmpty())
    return {};
  const std::vector<DueRecord> dues(rows.begin(), rows.end());
  return Written(path,
                 calendar ? RenderCalendar(dues, {app_.clock().Now(),
                                                  UserSettings::Read(settings::kReminderDaysAhead)})
                          : RenderCsv(dues));
}

QString ExportCommands::Written(const QString& path, std::string_view bytes) {
  const Status written = WriteDocument(path.toStdString(), bytes, app_.store().files());
  if (!written.ok()) {
    TellFailure(FromStd(written.message()));
    return {};
  }
  return Offered(path, {});
}

QString ExportCommands::Offered(const QString& path, const QString& remark) {
  QString note =
      MessageOf(MessageId::kExportWritten, QDir::toNativeSeparators(path).toStdString()) + remark;
  if (showNote_)
    showNote_(note);
  // The wait cursor of the export must not hang over the question.
  const WaitCursor::Pause plainCursor;
  switch (
      app_.prompt().Ask(window_, note, PromptButtons::kOpenShowClose, PromptIcon::kInformation)) {
    case PromptAnswer::kOpen:
      (void)app_.desktop().OpenFile(path);
      break;
    case PromptAnswer::kShowInFolder:
      (void)app_.desktop().ShowInFolder(path);
      break;
    default:
      break;
  }
  return note;
}

void ExportCommands::TellFailure(const QString& text) {
  app_.prompt().Tell(window_, text, PromptIcon::kWarning);
}

}  // namespace paylark

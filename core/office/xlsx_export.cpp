#include "core/office/xlsx_export.h"

#include <xlsxwriter.h>

#include <ctime>
#include <string_view>

#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/export/replacing_file.h"
#include "core/office/ooxml_text.h"
#include "core/office/xlsx_template.h"

namespace paylark {
namespace {

// Writes cells and comments, cutting over-long texts and keeping the first failure.
class CellWriter {
 public:
  explicit CellWriter(lxw_worksheet* sheet) : sheet_(sheet) {}

  void Text(int row, int column, std::string_view value, lxw_format* format = nullptr) {
    const std::string text = Prepared(value);
    Keep(worksheet_write_string(sheet_, Row(row), Column(column), text.c_str(), format));
  }
  void Text(std::string_view cell, std::string_view value, lxw_format* format = nullptr) {
    const std::string name(cell);
    Text(static_cast<int>(lxw_name_to_row(name.c_str())) + 1,
         static_cast<int>(lxw_name_to_col(name.c_str())), value, format);
  }
  void Comment(int row, int column, std::string_view value) {
    std::string text = Prepared(value);
    lxw_comment_options options{};
    options.width = 300;
    options.height = 150;
    Keep(worksheet_write_comment_opt(sheet_, Row(row), Column(column), text.data(), &options));
  }

  int shortenedTexts() const { return shortenedTexts_; }
  lxw_error error() const { return error_; }

 private:
  static lxw_row_t Row(int row) { return static_cast<lxw_row_t>(row - 1); }
  static lxw_col_t Column(int column) { return static_cast<lxw_col_t>(column); }

  std::string Prepared(std::string_view value) {
    std::string text = XmlSafeText(value);
    if (CutToCharacters(text, kXlsxMaxTextCharacters))
      ++shortenedTexts_;
    return text;
  }
  void Keep(lxw_error error) {
    if (error_ == LXW_NO_ERROR)
      error_ = error;
  }

  lxw_worksheet* sheet_;
  int shortenedTexts_ = 0;
  lxw_error error_ = LXW_NO_ERROR;
};

// The local wall-clock time as a point in time; the workbook stores it in UTC.
std::time_t ToTimeT(const OleDateTime& local) {
  const CivilDateTime civil = local.ToCivil();
  std::tm tm{};
  tm.tm_year = civil.year - 1900;
  tm.tm_mon = civil.month - 1;
  tm.tm_mday = civil.day;
  tm.tm_hour = civil.hour;
  tm.tm_min = civil.minute;
  tm.tm_sec = civil.second;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

void WriteDue(CellWriter& cells, int row, const DueRecord& due, NotesChoice notes) {
  cells.Text(row, 0, due.title);
  cells.Text(row, 1, FormatDateTimeText(due.startDate));
  cells.Text(row, 2, FormatDateTimeText(due.dueDate));
  cells.Text(row, 3, due.payTo);
  cells.Text(row, 4, due.account);
  cells.Text(row, 5, FormatAmount(due.amount));
  cells.Text(row, 6, TypeText(due.type));
  cells.Text(row, 7, PaidText(due.paid));
  if (notes == NotesChoice::kWithNotes) {
    cells.Text(row, 8, "Show Notes");
    cells.Comment(row, 8, NotesWithLineFeeds(due.notes));
  }
}

Status WorkbookFailure(const std::string& path, std::string_view reason) {
  return Status::IoError(MessageText({MessageId::kFileWriteFailed, path, 0, std::string(reason)}));
}

}  // namespace

Result<OfficeExportReport> WriteXlsxExport(const std::string& path,
                                           const OfficeExportRequest& request) {
  Result<ReplacingFile> file = ReplacingFile::Create(path);
  if (!file.ok())
    return file.status();
  lxw_workbook* workbook = workbook_new(file.value().temporaryPath().c_str());
  if (workbook == nullptr)
    return WorkbookFailure(path, "out of memory");

  std::string author(kXlsxAuthor);
  lxw_doc_properties properties{};
  properties.author = author.data();
  properties.created = ToTimeT(request.createdAt);
  (void)workbook_set_properties(workbook, &properties);
  const std::string sheetName(kXlsxSheetName);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());
  worksheet_set_comments_author(sheet, author.data());
  const XlsxFormats formats = DrawXlsxTemplate(workbook, sheet);

  CellWriter cells(sheet);
  if (request.notes == NotesChoice::kWithoutNotes) {
    cells.Text(kXlsxNotesHeadingCell, "", formats.clearedCell);
  }
  double paidSum = 0.0;
  double unpaidSum = 0.0;
  int row = kXlsxFirstDueRow;
  for (const DueRecord& due : request.rows) {
    (IsPaid(due) ? paidSum : unpaidSum) += due.amount;
    WriteDue(cells, row, due, request.notes);
    ++row;
  }
  cells.Text(kXlsxMonthCell, request.monthText);
  cells.Text(kXlsxPaidSumCell, FormatAmount(paidSum));
  cells.Text(kXlsxUnpaidSumCell, FormatAmount(unpaidSum));

  const lxw_error closed = workbook_close(workbook);
  if (cells.error() != LXW_NO_ERROR)
    return WorkbookFailure(path, lxw_strerror(cells.error()));
  if (closed != LXW_NO_ERROR)
    return WorkbookFailure(path, lxw_strerror(closed));
  Status committed = file.value().Commit();
  if (!committed.ok())
    return committed;
  return OfficeExportReport{cells.shortenedTexts()};
}

}  // namespace paylark

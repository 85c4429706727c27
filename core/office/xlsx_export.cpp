#include "core/office/xlsx_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <string_view>
#include <vector>

#include "core/base/amount_sum.h"
#include "core/base/format.h"
#include "core/base/local_time.h"
#include "core/base/messages.h"
#include "core/base/text_encoding.h"
#include "core/export/replacing_file.h"
#include "core/office/ooxml_text.h"
#include "core/office/xlsx_template.h"
#include "core/records/payment.h"

namespace paylark {
namespace {

struct CommentSize {
  std::uint16_t width;
  std::uint16_t height;
};

// A box that shows the whole note where it can: as wide as its longest line (up to a limit),
// as high as its lines once wrapped to that width.
CommentSize CommentSizeFor(std::string_view text) {
  constexpr int kCharacterWidth = 7;
  constexpr int kLineHeight = 15;
  constexpr int kPadding = 12;
  constexpr int kMinimumCharacters = 16;
  constexpr int kMaximumCharacters = 80;
  constexpr int kMaximumHeight = 4000;
  std::vector<int> lineLengths{0};
  for (std::size_t pos = 0; pos < text.size();) {
    const std::uint32_t character = NextCodePoint(text, pos);
    if (character == '\n')
      lineLengths.push_back(0);
    else
      ++lineLengths.back();
  }
  int widest = kMinimumCharacters;
  for (const int length : lineLengths)
    widest = std::max(widest, std::min(length, kMaximumCharacters));
  int lines = 0;
  for (const int length : lineLengths)
    lines += std::max(1, (length + widest - 1) / widest);
  const int height = std::min(kMaximumHeight, lines * kLineHeight + kPadding);
  return {static_cast<std::uint16_t>(widest * kCharacterWidth + kPadding),
          static_cast<std::uint16_t>(height)};
}

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
  void Number(int row, int column, double value, lxw_format* format) {
    Keep(worksheet_write_number(sheet_, Row(row), Column(column), value, format));
  }
  void Number(std::string_view cell, double value, lxw_format* format) {
    const std::string name(cell);
    Number(static_cast<int>(lxw_name_to_row(name.c_str())) + 1,
           static_cast<int>(lxw_name_to_col(name.c_str())), value, format);
  }
  // A date cell holds the day count the workbook shares with OleDateTime from 1 March 1900 on;
  // earlier dates, which it cannot show, stay text.
  void Date(int row, int column, const OleDateTime& date, const XlsxFormats& formats) {
    constexpr double kFirstSharedDay = 61.0;
    if (!date.IsValid() || date.value() < kFirstSharedDay) {
      Text(row, column, FormatDateTimeText(date));
      return;
    }
    const CivilDateTime civil = date.ToCivil();
    const bool midnight = civil.hour == 0 && civil.minute == 0 && civil.second == 0;
    Number(row, column, date.value(), midnight ? formats.date : formats.dateTime);
  }
  // An amount shows the locale's fraction digits, and its cents where it has them, as every
  // other document shows it.
  void Amount(int row, int column, double value, const XlsxFormats& formats) {
    Number(row, column, value, AmountFormat(value, formats));
  }
  void Amount(std::string_view cell, double value, const XlsxFormats& formats) {
    Number(cell, value, AmountFormat(value, formats));
  }
  void Comment(int row, int column, std::string_view value) {
    std::string text = Prepared(value);
    const CommentSize size = CommentSizeFor(text);
    lxw_comment_options options{};
    options.width = size.width;
    options.height = size.height;
    Keep(worksheet_write_comment_opt(sheet_, Row(row), Column(column), text.data(), &options));
  }

  int shortenedTexts() const { return shortenedTexts_; }
  lxw_error error() const { return error_; }

 private:
  static lxw_format* AmountFormat(double value, const XlsxFormats& formats) {
    return AmountFractionDigits(value) > LocaleFractionDigits() ? formats.amountCents
                                                                : formats.amount;
  }
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

void WriteDue(CellWriter& cells, int row, const DueRecord& due, NotesChoice notes,
              const XlsxFormats& formats) {
  cells.Text(row, 0, due.title);
  cells.Date(row, 1, due.startDate, formats);
  cells.Date(row, 2, due.dueDate, formats);
  cells.Text(row, 3, due.payTo);
  cells.Text(row, 4, due.account);
  cells.Amount(row, 5, ListedAmount(due), formats);
  cells.Text(row, 6, TypeText(due.type));
  cells.Text(row, 7, StatusText(due));
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
  // The office libraries write by name, on the real file system; so does the document beside them.
  Result<ReplacingFile> file = ReplacingFile::Create(path, SystemFileSystem());
  if (!file.ok())
    return file.status();
  lxw_workbook* workbook = workbook_new(file.value().temporaryPath().c_str());
  if (workbook == nullptr)
    return WorkbookFailure(path, "out of memory");

  std::string author(kXlsxAuthor);
  lxw_doc_properties properties{};
  properties.author = author.data();
  // The workbook stores the creation time in UTC.
  properties.created = LocalToTimeT(request.createdAt);
  (void)workbook_set_properties(workbook, &properties);
  const std::string sheetName(kXlsxSheetName);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());
  worksheet_set_comments_author(sheet, author.data());
  const XlsxFormats formats = DrawXlsxTemplate(workbook, sheet);

  CellWriter cells(sheet);
  if (request.notes == NotesChoice::kWithoutNotes) {
    cells.Text(kXlsxNotesHeadingCell, "", formats.clearedCell);
  }
  AmountSum paidSum;
  AmountSum unpaidSum;
  AmountSum incomeSum;
  bool anyIncome = false;
  int row = kXlsxFirstDueRow;
  for (const DueRecord& due : request.rows) {
    // The sums are the status bar's: what was paid, and bills only; incomes apart.
    if (IsIncome(due)) {
      incomeSum.Add(ToCents(due.amount));
      anyIncome = true;
    } else {
      paidSum.Add(PaidShare(due));
      unpaidSum.Add(LeftCents(due));
    }
    WriteDue(cells, row, due, request.notes, formats);
    ++row;
  }
  cells.Text(kXlsxMonthCell, request.monthText);
  cells.Amount(kXlsxPaidSumCell, FromCents(paidSum.cents()), formats);
  cells.Amount(kXlsxUnpaidSumCell, FromCents(unpaidSum.cents()), formats);
  if (anyIncome) {
    cells.Text(kXlsxIncomeLabel.cell, kXlsxIncomeLabel.text, formats.label);
    cells.Amount(kXlsxIncomeSumCell, FromCents(incomeSum.cents()), formats);
  }
  // The headings stay in sight while scrolling, and filter and sort the dues below them.
  worksheet_freeze_panes(sheet, kXlsxFirstDueRow - 1, 0);
  const int lastColumn = request.notes == NotesChoice::kWithNotes ? 8 : 7;
  const int lastRow = std::max(kXlsxHeadingRow, row - 1);
  (void)worksheet_autofilter(sheet, kXlsxHeadingRow - 1, 0, static_cast<lxw_row_t>(lastRow - 1),
                             static_cast<lxw_col_t>(lastColumn));

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

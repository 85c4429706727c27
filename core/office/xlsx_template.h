#pragma once

#include <xlsxwriter.h>

#include <array>
#include <string_view>

namespace paylark {

// The workbook's fixed part, built in where a template file once stood: a title, the labels
// beside the month and the two sums, and the heading row above the dues. The export writes its
// values into the cells named here.
struct XlsxLabel {
  std::string_view cell;
  std::string_view text;
};

inline constexpr std::string_view kXlsxSheetName = "Dues";
inline constexpr std::string_view kXlsxAuthor = "Paylark";
inline constexpr XlsxLabel kXlsxTitle = {"A1", "Paylark Dues"};
inline constexpr std::array<XlsxLabel, 3> kXlsxLabels = {
    {{"B4", "Month"}, {"E4", "Paid"}, {"E5", "Unpaid"}}};

inline constexpr std::string_view kXlsxMonthCell = "C4";
inline constexpr std::string_view kXlsxPaidSumCell = "F4";
inline constexpr std::string_view kXlsxUnpaidSumCell = "F5";
// Written only when the dues include incomes, which the two sums leave out.
inline constexpr XlsxLabel kXlsxIncomeLabel = {"E6", "Income"};
inline constexpr std::string_view kXlsxIncomeSumCell = "F6";
// The notes heading, cleared (empty text on white) when the export leaves notes out.
inline constexpr std::string_view kXlsxNotesHeadingCell = "I9";

inline constexpr int kXlsxHeadingRow = 9;
inline constexpr int kXlsxFirstDueRow = 10;

struct XlsxColumn {
  std::string_view heading;
  double width;  // in characters
};
// Columns A to I: one due per row, the notes marker last.
inline constexpr std::array<XlsxColumn, 9> kXlsxColumns = {{{"Title", 28},
                                                            {"Start Date", 22},
                                                            {"Due Date", 22},
                                                            {"Pay To", 22},
                                                            {"Account", 18},
                                                            {"Amount", 14},
                                                            {"Type", 10},
                                                            {"Status", 10},
                                                            {"Notes", 12}}};

// Formats the export needs besides the template's own.
struct XlsxFormats {
  lxw_format* label;        // as the labels beside the sums
  lxw_format* clearedCell;  // white fill
  lxw_format* amount;       // the locale's currency form with its fraction digits
  lxw_format* amountCents;  // the same with two fraction digits (`amount` where that has two)
  lxw_format* date;         // the locale's short date
  lxw_format* dateTime;     // the short date and the time with seconds
};

// Writes the fixed part onto an empty sheet and makes the formats under the process locale. Errors
// of single cells cannot happen for these constant texts; the workbook's closing reports anything
// else.
XlsxFormats DrawXlsxTemplate(lxw_workbook* workbook, lxw_worksheet* sheet);

}  // namespace paylark

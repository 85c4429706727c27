#include "core/office/xlsx_template.h"

#include <string>

#include "core/base/format.h"
#include "core/office/xlsx_number_formats.h"

namespace paylark {
namespace {

constexpr lxw_color_t kHeadingFill = 0xD9D9D9;
constexpr lxw_color_t kWhite = 0xFFFFFF;

lxw_format* NumberFormat(lxw_workbook* workbook, const std::string& numberFormat) {
  lxw_format* format = workbook_add_format(workbook);
  format_set_num_format(format, numberFormat.c_str());
  return format;
}

void PutLabel(lxw_worksheet* sheet, const XlsxLabel& label, lxw_format* format) {
  const std::string cell(label.cell);
  const std::string text(label.text);
  (void)worksheet_write_string(sheet, lxw_name_to_row(cell.c_str()), lxw_name_to_col(cell.c_str()),
                               text.c_str(), format);
}

}  // namespace

XlsxFormats DrawXlsxTemplate(lxw_workbook* workbook, lxw_worksheet* sheet) {
  lxw_format* title = workbook_add_format(workbook);
  format_set_bold(title);
  format_set_font_size(title, 16);

  lxw_format* label = workbook_add_format(workbook);
  format_set_bold(label);
  format_set_align(label, LXW_ALIGN_RIGHT);

  lxw_format* heading = workbook_add_format(workbook);
  format_set_bold(heading);
  format_set_bg_color(heading, kHeadingFill);
  format_set_bottom(heading, LXW_BORDER_THIN);

  lxw_format* cleared = workbook_add_format(workbook);
  format_set_pattern(cleared, LXW_PATTERN_SOLID);
  format_set_bg_color(cleared, kWhite);

  PutLabel(sheet, kXlsxTitle, title);
  for (const XlsxLabel& each : kXlsxLabels)
    PutLabel(sheet, each, label);
  for (std::size_t column = 0; column < kXlsxColumns.size(); ++column) {
    const std::string text(kXlsxColumns[column].heading);
    const auto index = static_cast<lxw_col_t>(column);
    (void)worksheet_set_column(sheet, index, index, kXlsxColumns[column].width, nullptr);
    (void)worksheet_write_string(sheet, kXlsxHeadingRow - 1, index, text.c_str(), heading);
  }
  // Printed, the nine columns fit across one landscape page.
  worksheet_set_landscape(sheet);
  (void)worksheet_fit_to_pages(sheet, 1, 0);
  const int fractionDigits = LocaleFractionDigits();
  lxw_format* amount = NumberFormat(workbook, XlsxCurrencyFormat(fractionDigits));
  lxw_format* amountCents =
      fractionDigits >= 2 ? amount : NumberFormat(workbook, XlsxCurrencyFormat(2));
  return XlsxFormats{label,
                     cleared,
                     amount,
                     amountCents,
                     NumberFormat(workbook, XlsxDateFormat(WithTime::kNo)),
                     NumberFormat(workbook, XlsxDateFormat(WithTime::kYes))};
}

}  // namespace paylark

#pragma once

#include <string>

namespace paylark {

// Number formats in the workbook's notation that show cells as the process locale writes them,
// so amounts and dates can be typed cells and still read as the other exports show them.

// The locale's currency form (LC_MONETARY) with the given fraction digits: en_US and 2
// "\"$\"#,##0.00;-\"$\"#,##0.00", de_DE "#,##0.00 \"€\";-#,##0.00 \"€\"", ja_JP and 0
// "\"￥\"#,##0;-\"￥\"#,##0"; without a currency symbol (C) "0.00".
std::string XlsxCurrencyFormat(int fractionDigits);
// The locale's short date (D_FMT, LC_TIME), followed for withTime by a blank and the full time
// with seconds (T_FMT, "%r" spelt out): en_US "mm/dd/yyyy" and "mm/dd/yyyy hh:mm:ss AM/PM",
// ja_JP "yyyy\"年\"mm\"月\"dd\"日\" hh\"時\"mm\"分\"ss\"秒\"". Literal text is quoted as whole
// UTF-8 characters; time zones, which a cell does not hold, are left out.
enum class WithTime { kNo, kYes };
std::string XlsxDateFormat(WithTime withTime);

}  // namespace paylark

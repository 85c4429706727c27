#pragma once

#include <string>
#include <string_view>

#include "core/base/ole_date_time.h"

namespace paylark {

// Display formatting under the process locale (LC_MONETARY for amounts, LC_TIME for dates).
// Numbers themselves are always printed and parsed in the C form.

// "1234.5" in the locale's currency form: "$1,234.50" (en_US), "1.234,50 €" (de_DE), "1234.50"
// (C), with AmountFractionDigits: "￥1,235" for 1235 but "￥1,234.56" (ja_JP). The text is trimmed
// first; text that is not a number comes back trimmed and unchanged.
std::string FormatCurrency(std::string_view amountText);
// The amount printed with "%0.2lf" in the C form.
std::string FormatAmountNumber(double amount);
// The fraction digits the locale's currency shows (LC_MONETARY frac_digits; 2 where it sets none).
int LocaleFractionDigits();
// The fraction digits an amount is shown with: the locale's, but two where the locale shows fewer
// and the amount has cents, so a row never hides cents that a sum of rows adds.
int AmountFractionDigits(double amount);
// FormatCurrency(FormatAmountNumber(amount)).
std::string FormatAmount(double amount);

// A date through a Windows date picture ("dd/MM/yyyy", "MMMM - yyyy", ...); an empty picture is
// the locale's short date (D_FMT).
std::string FormatDate(const OleDateTime& date, std::string_view picture);
// The locale's short date with a four-digit year ("%y" of D_FMT read as "%Y"): documents use it
// where a fixed day-month picture would contradict the locale (en_US "12/01/2026").
std::string FormatDocumentDate(const OleDateTime& date);
// A time through a Windows time picture ("hh:mm:ss tt", ...); an empty picture is the locale's
// time format without seconds.
std::string FormatTime(const OleDateTime& time, std::string_view picture);
// The locale's short date, then a blank and the full time with seconds unless it is midnight.
std::string FormatDateTimeText(const OleDateTime& dateTime);
// A C-style format ("%B, %Y"); "%B" without a day in the format takes the standalone month name.
std::string FormatStrftime(const OleDateTime& dateTime, std::string_view format);

}  // namespace paylark

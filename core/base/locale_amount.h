#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/base/messages.h"

namespace paylark {

// The marks an amount is typed with under the process locale's LC_MONETARY, in UTF-8.
struct AmountMarks {
  std::string decimal = ".";
  std::string grouping;     // empty when the locale does not group digits
  std::vector<int> groups;  // digits per group from the right; the last size repeats
};

// The marks of the process locale; the C locale has a decimal point and no grouping.
AmountMarks LocaleAmountMarks();

// A grouping mark that is a blank (fr_FR's narrow no-break space) is typed as any blank.
bool IsGroupingMark(std::string_view character, const AmountMarks& marks);

// The amount as the editor's field shows it: up to 15 significant digits, no trailing zeros,
// the locale's decimal mark and no grouping ("61,75" under de_DE).
std::string AmountFieldText(double amount, const AmountMarks& marks);

// The amount as a payment field offers it: grouped and with the cents the locale shows
// ("2,400.00" under en_US, "1.234,56" under de_DE), a text ParseLocaleAmount reads back exactly.
std::string GroupedAmountText(double amount, const AmountMarks& marks);

// Reads typed text by the locale's rules: one decimal mark, grouping marks only between
// correctly sized groups of the whole part. Misplaced grouping ("12,50" under en_US) is
// "Please enter a number." rather than a number a hundred times larger; the range is
// ParseAmount's.
std::variant<double, Message> ParseLocaleAmount(std::string_view text, const AmountMarks& marks);

}  // namespace paylark

#include "core/base/locale_amount.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <clocale>
#include <cstdio>

#include "core/base/field_parsing.h"
#include "core/base/format.h"
#include "core/base/text_encoding.h"

namespace paylark {
namespace {

constexpr std::string_view kBlanks[] = {" ", "\u00a0", "\u202f"};

bool IsBlank(std::string_view character) {
  for (const std::string_view blank : kBlanks) {
    if (character == blank)
      return true;
  }
  return false;
}

// The length of the UTF-8 character starting at text[0] (1 for a stray byte).
std::size_t CharacterLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  std::size_t length = 1;
  if (lead >= 0xF0)
    length = 4;
  else if (lead >= 0xE0)
    length = 3;
  else if (lead >= 0xC0)
    length = 2;
  return length <= text.size() ? length : text.size();
}

std::vector<int> GroupSizes(const char* grouping) {
  std::vector<int> sizes;
  for (const char* size = grouping; *size != 0 && *size != CHAR_MAX; ++size)
    sizes.push_back(*size);
  return sizes;
}

int GroupSize(const std::vector<int>& groups, std::size_t index) {
  if (groups.empty())
    return 3;
  return groups[index < groups.size() ? index : groups.size() - 1];
}

// Whole-part groups as typed, left to right: every group but the first has its exact size.
bool GroupsFit(const std::vector<std::string>& parts, const std::vector<int>& groups) {
  if (parts.size() == 1)
    return true;
  for (std::size_t fromRight = 0; fromRight + 1 < parts.size(); ++fromRight) {
    const std::string& part = parts[parts.size() - 1 - fromRight];
    if (static_cast<int>(part.size()) != GroupSize(groups, fromRight))
      return false;
  }
  const std::string& first = parts.front();
  return !first.empty() && static_cast<int>(first.size()) <= GroupSize(groups, parts.size() - 1);
}

}  // namespace

AmountMarks LocaleAmountMarks() {
  const std::lconv* conventions = std::localeconv();
  AmountMarks marks;
  const std::string decimal = LocaleTextToUtf8(conventions->mon_decimal_point);
  if (!decimal.empty())
    marks.decimal = decimal;
  marks.grouping = LocaleTextToUtf8(conventions->mon_thousands_sep);
  marks.groups = GroupSizes(conventions->mon_grouping);
  if (marks.grouping == marks.decimal)
    marks.grouping.clear();
  return marks;
}

bool IsGroupingMark(std::string_view character, const AmountMarks& marks) {
  if (marks.grouping.empty())
    return false;
  return character == marks.grouping || (IsBlank(marks.grouping) && IsBlank(character));
}

std::string AmountFieldText(double amount, const AmountMarks& marks) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", amount);
  std::string shown(text);
  if (const std::size_t point = shown.find('.'); point != std::string::npos)
    shown.replace(point, 1, marks.decimal);
  return shown;
}

std::string GroupedAmountText(double amount, const AmountMarks& marks) {
  char text[400];  // room for the largest double in fixed form
  const std::to_chars_result end = std::to_chars(
      text, text + sizeof text, amount, std::chars_format::fixed, AmountFractionDigits(amount));
  std::string_view plain(text, static_cast<std::size_t>(end.ptr - text));
  std::string sign;
  if (plain.front() == '-') {
    sign = "-";
    plain.remove_prefix(1);
  }
  const std::size_t point = plain.find('.');
  const std::string_view whole = plain.substr(0, point);
  std::string grouped;
  std::size_t fromRight = 0;
  for (std::size_t left = whole.size(); left > 0; ++fromRight) {
    const std::size_t size = marks.grouping.empty()
                                 ? left
                                 : std::min<std::size_t>(left, GroupSize(marks.groups, fromRight));
    left -= size;
    grouped.insert(0, whole.substr(left, size));
    if (left > 0)
      grouped.insert(0, marks.grouping);
  }
  if (point != std::string_view::npos)
    grouped += marks.decimal + std::string(plain.substr(point + 1));
  return sign + grouped;
}

std::variant<double, Message> ParseLocaleAmount(std::string_view text, const AmountMarks& marks) {
  const Message notANumber{MessageId::kEnterNumber, {}, 0, {}};
  const std::string_view trimmed = TrimWhiteSpace(text);
  std::vector<std::string> wholeParts(1);
  std::string fraction;
  bool afterDecimal = false;
  bool grouped = false;
  std::string plain;  // the text in the C form; ParseAmount refuses what is not a number
  for (std::size_t at = 0; at < trimmed.size();) {
    const std::string_view character = trimmed.substr(at, CharacterLength(trimmed.substr(at)));
    at += character.size();
    if (character == marks.decimal) {
      if (afterDecimal)
        return notANumber;
      afterDecimal = true;
      plain += '.';
    } else if (IsGroupingMark(character, marks)) {
      if (afterDecimal)
        return notANumber;
      grouped = true;
      wholeParts.emplace_back();
    } else if (character == "." || character == ",") {
      return notANumber;  // the mark of another locale: its meaning here is a guess
    } else {
      plain += character;
      if (character.size() == 1 && character[0] >= '0' && character[0] <= '9')
        (afterDecimal ? fraction : wholeParts.back()) += character;
    }
  }
  if (grouped && !GroupsFit(wholeParts, marks.groups))
    return notANumber;
  return ParseAmount(plain);
}

}  // namespace paylark

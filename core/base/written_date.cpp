#include "core/base/written_date.h"

namespace paylark {
namespace {

// The number the digits write; -1, which no date field accepts, for anything but digits.
int Digits(std::string_view text) {
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9')
      return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<OleDateTime> WrittenDate(std::string_view text) {
  const bool dashed = text.size() == 10 && text[4] == '-' && text[7] == '-';
  if (!dashed && text.size() != 8)
    return std::nullopt;
  const std::size_t month = dashed ? 5 : 4;
  const std::size_t day = dashed ? 8 : 6;
  return OleDateTime::FromCivil(Digits(text.substr(0, 4)), Digits(text.substr(month, 2)),
                                Digits(text.substr(day, 2)));
}

}  // namespace paylark

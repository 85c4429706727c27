#include "core/records/field_parsing.h"

#include <charconv>
#include <cmath>

namespace paylark {
namespace {

std::string_view Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

template <class T>
bool ParseWhole(std::string_view text, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

std::variant<double, Message> ParseAmount(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  double value = 0;
  if (trimmed.empty() || !ParseWhole(trimmed, value) || !std::isfinite(value)) {
    return Message{MessageId::kEnterNumber, {}, 0, {}};
  }
  if (value < 0 || value > kMaxAmount)
    return Message{MessageId::kEnterNumberInRange, {}, 0, {}};
  return value;
}

std::variant<int, Message> ParseInteger(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  int value = 0;
  if (trimmed.empty() || !ParseWhole(trimmed, value)) {
    return Message{MessageId::kEnterInteger, {}, 0, {}};
  }
  return value;
}

}  // namespace paylark

#include "core/base/field_parsing.h"

#include "core/base/amount_limit.h"
#include "core/base/text_encoding.h"

#include <charconv>
#include <cmath>

namespace paylark {
namespace {

template <class T>
bool ParseWhole(std::string_view text, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

std::variant<double, Message> ParseAmount(std::string_view text) {
  const std::string_view trimmed = TrimWhiteSpace(text);
  double value = 0;
  if (trimmed.empty() || !ParseWhole(trimmed, value) || !std::isfinite(value)) {
    return Message{MessageId::kEnterNumber, {}, 0, {}};
  }
  if (value < 0 || value > kMaxAmount)
    return Message{MessageId::kEnterNumberInRange, {}, 0, {}};
  return value == 0 ? 0.0 : value;  // "-0" is stored as 0
}

std::variant<int, Message> ParseInteger(std::string_view text) {
  const std::string_view trimmed = TrimWhiteSpace(text);
  int value = 0;
  if (trimmed.empty() || !ParseWhole(trimmed, value)) {
    return Message{MessageId::kEnterInteger, {}, 0, {}};
  }
  return value;
}

}  // namespace paylark

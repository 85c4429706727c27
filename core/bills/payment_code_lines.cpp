#include "core/bills/payment_code_lines.h"

namespace paylark {

PaymentCodeLines::PaymentCodeLines(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    lines_.push_back(line);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
}

std::string_view PaymentCodeLines::operator[](std::size_t index) const {
  return index < lines_.size() ? lines_[index] : std::string_view();
}

}  // namespace paylark

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace paylark {

// A payment code's lines, split at LF with a CR before it dropped. Reading past the last line
// gives an empty text: trailing empty fields may be left out of a code.
class PaymentCodeLines {
 public:
  explicit PaymentCodeLines(std::string_view text);

  std::string_view operator[](std::size_t index) const;
  std::size_t size() const { return lines_.size(); }

 private:
  std::vector<std::string_view> lines_;
};

}  // namespace paylark

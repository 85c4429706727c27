#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paylark::cli {

// The words after the command name. Commands take what they know; whatever is left over, or an
// option given without its value, is a usage error that Finish reports.
class Arguments {
 public:
  explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

  // The value of "--name VALUE" or "--name=VALUE"; the last one wins when given twice.
  std::optional<std::string> TakeValue(std::string_view name);
  // Whether "--name" was given.
  bool TakeFlag(std::string_view name);
  // The next word that is not an option; take every option first.
  std::optional<std::string> TakePositional();

  // Empty when every word was used, else the first problem.
  std::optional<std::string> Finish() const;

 private:
  std::vector<std::string> words_;
  std::vector<bool> used_ = std::vector<bool>(words_.size(), false);
  std::optional<std::string> missingValue_;
};

}  // namespace paylark::cli

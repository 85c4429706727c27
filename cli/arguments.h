#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paylark::cli {

// The words after the command name. Commands take what they know; whatever is left over, or an
// option given without its value, is a usage error that Finish reports. Every word after "--" is
// positional, even one that starts with "--".
class Arguments {
 public:
  explicit Arguments(std::vector<std::string> words);

  // The value of "--name VALUE" or "--name=VALUE"; the last one wins when given twice.
  std::optional<std::string> TakeValue(std::string_view name);
  // A count and its unit, "--name N UNIT" or "--name 'N UNIT'", as "N UNIT"; the last one wins.
  std::optional<std::string> TakeCountAndUnit(std::string_view name);
  // Whether "--name" was given.
  bool TakeFlag(std::string_view name);
  // The next word that is not an option; take every option first, so that no option's value is
  // taken for it.
  std::optional<std::string> TakePositional();

  // Empty when every word was used, else the first problem.
  std::optional<std::string> Finish() const;

 private:
  std::vector<std::string> words_;
  std::vector<bool> used_ = std::vector<bool>(words_.size(), false);
  std::optional<std::string> missingValue_;
  std::size_t optionsEnd_ = words_.size();  // the index of "--", or the end
};

}  // namespace paylark::cli

#include "cli/arguments.h"

#include <algorithm>

namespace paylark::cli {

Arguments::Arguments(std::vector<std::string> words) : words_(std::move(words)) {
  const auto end = std::find(words_.begin(), words_.end(), "--");
  optionsEnd_ = static_cast<std::size_t>(end - words_.begin());
  if (end != words_.end())
    used_[optionsEnd_] = true;
}

std::optional<std::string> Arguments::TakeValue(std::string_view name) {
  std::optional<std::string> value;
  const std::string prefix = std::string(name) + "=";
  for (std::size_t i = 0; i < optionsEnd_; ++i) {
    if (used_[i])
      continue;
    if (words_[i] == name) {
      used_[i] = true;
      if (i + 1 >= optionsEnd_ || used_[i + 1]) {
        missingValue_ = "the option " + std::string(name) + " needs a value";
        continue;
      }
      used_[i + 1] = true;
      value = words_[i + 1];
      ++i;
    } else if (words_[i].starts_with(prefix)) {
      used_[i] = true;
      value = words_[i].substr(prefix.size());
    }
  }
  return value;
}

std::optional<std::string> Arguments::TakeCountAndUnit(std::string_view name) {
  std::optional<std::string> value;
  for (std::size_t i = 0; i < optionsEnd_; ++i) {
    if (used_[i] || words_[i] != name)
      continue;
    used_[i] = true;
    if (i + 1 >= optionsEnd_ || used_[i + 1]) {
      missingValue_ = "the option " + std::string(name) + " needs a value";
      continue;
    }
    used_[i + 1] = true;
    value = words_[i + 1];
    const bool unitFollows = value->find(' ') == std::string::npos && i + 2 < optionsEnd_ &&
                             !used_[i + 2] && !words_[i + 2].starts_with("--");
    if (unitFollows) {
      used_[i + 2] = true;
      *value += " " + words_[i + 2];
    }
    i += unitFollows ? 2 : 1;
  }
  return value;
}

bool Arguments::TakeFlag(std::string_view name) {
  bool found = false;
  for (std::size_t i = 0; i < optionsEnd_; ++i) {
    if (!used_[i] && words_[i] == name) {
      used_[i] = true;
      found = true;
    }
  }
  return found;
}

std::optional<std::string> Arguments::TakePositional() {
  for (std::size_t i = 0; i < words_.size(); ++i) {
    if (used_[i] || (i < optionsEnd_ && words_[i].starts_with("--")))
      continue;
    used_[i] = true;
    return words_[i];
  }
  return std::nullopt;
}

std::optional<std::string> Arguments::Finish() const {
  if (missingValue_)
    return missingValue_;
  for (std::size_t i = 0; i < words_.size(); ++i) {
    if (used_[i])
      continue;
    return i < optionsEnd_ && words_[i].starts_with("--")
               ? "unknown option " + words_[i]
               : "unexpected argument \"" + words_[i] + "\"";
  }
  return std::nullopt;
}

}  // namespace paylark::cli

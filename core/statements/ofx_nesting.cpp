#include "core/statements/ofx_nesting.h"

#include <algorithm>
#include <vector>

namespace paylark {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where the next non-space character is, or the end.
std::size_t SkipSpace(std::string_view bytes, std::size_t at) {
  while (at < bytes.size() && IsSpace(bytes[at]))
    ++at;
  return at;
}

// The name of the tag that starts at `at` (just after '<' and any '/').
std::string_view TagName(std::string_view bytes, std::size_t at) {
  std::size_t end = at;
  while (end < bytes.size() && bytes[end] != '>' && bytes[end] != '<' && !IsSpace(bytes[end]))
    ++end;
  return bytes.substr(at, end - at);
}

// Closes the innermost open aggregate of that name and every one inside it; a name no open
// aggregate has closes an element and changes nothing.
void Close(std::vector<std::string_view>& open, std::string_view name) {
  const auto found = std::find(open.rbegin(), open.rend(), name);
  if (found != open.rend())
    open.erase(std::prev(found.base()), open.end());
}

}  // namespace

std::size_t OfxNestingDepth(std::string_view bytes, std::size_t limit) {
  std::vector<std::string_view> open;
  std::size_t deepest = 0;
  for (std::size_t at = bytes.find('<'); at != std::string_view::npos && deepest <= limit;
       at = bytes.find('<', at)) {
    ++at;
    if (at >= bytes.size() || bytes[at] == '?' || bytes[at] == '!')
      continue;
    if (bytes[at] == '/') {
      Close(open, TagName(bytes, at + 1));
      continue;
    }
    const std::string_view name = TagName(bytes, at);
    const std::size_t close = bytes.find('>', at);
    if (close == std::string_view::npos)
      break;
    const std::size_t content = SkipSpace(bytes, close + 1);
    const bool aggregate =
        content + 1 < bytes.size() && bytes[content] == '<' && bytes[content + 1] != '/';
    if (aggregate) {
      open.push_back(name);
      deepest = std::max(deepest, open.size());
    }
    at = close + 1;
  }
  return deepest;
}

}  // namespace paylark

#include "core/exchange/caldav_state.h"

namespace paylark {
namespace {

constexpr std::string_view kHeader = "paylark-caldav-state 1";
constexpr std::string_view kToken = "token ";

std::string_view NextLine(std::string_view& text) {
  const auto end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  return line;
}

}  // namespace

std::string SerializeCalDavState(const CalDavState& state) {
  std::string text = std::string(kHeader) + "\n" + std::string(kToken) + state.syncToken + "\n";
  for (const auto& [name, event] : state.events)
    text += name + "\t" + event.etag + "\t" + event.fingerprint + "\n";
  return text;
}

CalDavState ParseCalDavState(std::string_view text) {
  CalDavState state;
  if (NextLine(text) != kHeader)
    return {};
  const std::string_view token = NextLine(text);
  if (!token.starts_with(kToken))
    return {};
  state.syncToken = token.substr(kToken.size());
  while (!text.empty()) {
    const std::string_view line = NextLine(text);
    const auto first = line.find('\t');
    const auto second = line.find('\t', first == std::string_view::npos ? first : first + 1);
    if (first == 0 || second == std::string_view::npos)
      return {};
    state.events[std::string(line.substr(0, first))] = {
        std::string(line.substr(first + 1, second - first - 1)),
        std::string(line.substr(second + 1))};
  }
  return state;
}

}  // namespace paylark

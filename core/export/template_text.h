#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace paylark {

// The placeholder language of the export and print templates: "<{[name]}>" texts, and sections
// between a start and an end marker. Every marker starts with its only "<", so two occurrences of
// markers never overlap.

// A rendering stops, and nothing is written, once its text would pass this size.
inline constexpr std::size_t kMaxRenderedSize = std::size_t{64} << 20;

inline constexpr std::string_view kLoopStart = "<{[loopstart]}>";
inline constexpr std::string_view kLoopEnd = "<{[loopend]}>";

// Replaces the occurrences of from, found left to right without overlapping; the inserted text is
// not searched again, and an empty from changes nothing. Returns false, leaving text unchanged,
// when the result would pass kMaxRenderedSize.
[[nodiscard]] bool ReplaceAll(std::string& text, std::string_view from, std::string_view to);
struct Substitution {
  std::string_view placeholder;
  std::string value;
};
// ReplaceAll for each substitution in turn, so a value holding a later placeholder is replaced
// again. False, with text partly replaced, when the text would pass kMaxRenderedSize.
[[nodiscard]] bool ReplaceEach(std::string& text, std::span<const Substitution> substitutions);
// ReplaceAll with an empty replacement, which cannot fail.
void RemoveAll(std::string& text, std::string_view from);

// The text after the first start marker up to the first end marker behind it; empty when either
// marker is missing.
std::string SectionBetween(std::string_view text, std::string_view start, std::string_view end);

// A template text in which every loop start marker is replaced, record after record, by a
// rendering followed by the marker again. The text is kept as the pieces between the markers, so
// each record costs time in proportion to what it adds, never to what is already there.
class LoopExpansion {
 public:
  explicit LoopExpansion(std::string_view text);

  // The same as ReplaceAll(text, kLoopStart, rendering + kLoopStart), markers that form where a
  // piece meets the rendering included. False, leaving the text unchanged, when the text would
  // pass kMaxRenderedSize.
  [[nodiscard]] bool Expand(std::string_view rendering);
  bool HasMarker() const { return pieces_.size() > 1; }
  // The text itself; the expansion is used up.
  std::string Text() &&;

 private:
  void AppendJoined(std::vector<std::string>& out, std::string head, std::string_view tail) const;

  std::vector<std::string> pieces_;  // the text between consecutive markers
  std::size_t size_ = 0;
};

}  // namespace paylark

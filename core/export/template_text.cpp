#include "core/export/template_text.h"

#include <utility>

namespace paylark {
namespace {

constexpr std::size_t kNotFound = std::string::npos;

std::vector<std::string_view> SplitAtLoopStart(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t pos; (pos = text.find(kLoopStart, start)) != kNotFound;
       start = pos + kLoopStart.size()) {
    parts.push_back(text.substr(start, pos - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

// A replacement no longer than what it replaces is written over the text itself: the part still
// to be searched always lies behind the part already written.
void ReplaceInPlace(std::string& text, std::string_view from, std::string_view to,
                    std::size_t pos) {
  using Traits = std::char_traits<char>;
  char* const data = text.data();
  std::size_t written = pos;
  std::size_t read = pos;
  for (; pos != kNotFound; pos = text.find(from, read)) {
    Traits::move(data + written, data + read, pos - read);
    written += pos - read;
    Traits::copy(data + written, to.data(), to.size());
    written += to.size();
    read = pos + from.size();
  }
  Traits::move(data + written, data + read, text.size() - read);
  text.resize(written + text.size() - read);
}

}  // namespace

bool ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty())
    return true;
  std::size_t pos = text.find(from);
  if (pos == kNotFound)
    return true;
  if (to.size() <= from.size()) {
    ReplaceInPlace(text, from, to, pos);
    return true;
  }
  std::size_t count = 0;
  for (std::size_t p = pos; p != kNotFound; p = text.find(from, p + from.size()))
    ++count;
  const std::size_t growth = to.size() - from.size();
  if (text.size() > kMaxRenderedSize || count > (kMaxRenderedSize - text.size()) / growth) {
    return false;
  }
  std::string out;
  out.reserve(text.size() + count * growth);
  std::size_t copied = 0;
  for (; pos != kNotFound; pos = text.find(from, copied)) {
    out.append(text, copied, pos - copied);
    out.append(to);
    copied = pos + from.size();
  }
  out.append(text, copied);
  text = std::move(out);
  return true;
}

bool ReplaceEach(std::string& text, std::span<const Substitution> substitutions) {
  for (const Substitution& substitution : substitutions) {
    if (!ReplaceAll(text, substitution.placeholder, substitution.value))
      return false;
  }
  return true;
}

void RemoveAll(std::string& text, std::string_view from) {
  // Removing never grows the text, so the size limit cannot be reached.
  [[maybe_unused]] const bool shrunk = ReplaceAll(text, from, {});
}

std::string SectionBetween(std::string_view text, std::string_view start, std::string_view end) {
  const std::size_t startPos = text.find(start);
  if (startPos == kNotFound)
    return {};
  const std::size_t begin = startPos + start.size();
  const std::size_t endPos = text.find(end, begin);
  if (endPos == kNotFound)
    return {};
  return std::string(text.substr(begin, endPos - begin));
}

LoopExpansion::LoopExpansion(std::string_view text) : size_(text.size()) {
  for (const std::string_view part : SplitAtLoopStart(text))
    pieces_.emplace_back(part);
}

bool LoopExpansion::Expand(std::string_view rendering) {
  const std::size_t markers = pieces_.size() - 1;
  if (markers == 0 || rendering.empty())
    return true;
  if (size_ > kMaxRenderedSize || rendering.size() > (kMaxRenderedSize - size_) / markers) {
    return false;
  }
  // Each marker becomes the rendering's own pieces; the first joins the piece before the marker.
  const std::vector<std::string_view> parts = SplitAtLoopStart(rendering);
  std::vector<std::string> next;
  next.reserve(markers * parts.size() + 1);
  for (std::size_t i = 0; i < markers; ++i) {
    AppendJoined(next, std::move(pieces_[i]), parts.front());
    for (std::size_t p = 1; p < parts.size(); ++p)
      next.emplace_back(parts[p]);
  }
  next.push_back(std::move(pieces_.back()));
  pieces_ = std::move(next);
  size_ += markers * rendering.size();
  return true;
}

// Neither head nor tail holds a marker, but their join may: a head ending in "<{[loop" meets a
// tail starting with "start]}>". Such a marker splits the joined text in two pieces.
void LoopExpansion::AppendJoined(std::vector<std::string>& out, std::string head,
                                 std::string_view tail) const {
  const std::size_t joint = head.size();
  head.append(tail);
  const std::size_t searchFrom = joint >= kLoopStart.size() ? joint - kLoopStart.size() + 1 : 0;
  const std::size_t marker = head.find(kLoopStart, searchFrom);
  if (marker == kNotFound) {
    out.push_back(std::move(head));
    return;
  }
  std::string after = head.substr(marker + kLoopStart.size());
  head.resize(marker);
  out.push_back(std::move(head));
  out.push_back(std::move(after));
}

std::string LoopExpansion::Text() && {
  std::string text = std::move(pieces_.front());
  text.reserve(size_);
  for (std::size_t i = 1; i < pieces_.size(); ++i) {
    text.append(kLoopStart);
    text.append(pieces_[i]);
  }
  return text;
}

}  // namespace paylark

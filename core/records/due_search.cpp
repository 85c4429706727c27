#include "core/records/due_search.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

// The process locale's lower case of every ASCII character, asked once per text: towlower is a
// call through the locale's tables, too slow for every byte of 100,000 dues.
std::array<std::uint32_t, 128> AsciiLowerCase() {
  std::array<std::uint32_t, 128> lower{};
  for (std::uint32_t c = 0; c < lower.size(); ++c)
    lower[c] = static_cast<std::uint32_t>(std::towlower(static_cast<wint_t>(c)));
  return lower;
}

constexpr std::uint32_t kSharpS = 0xDF;  // ß; towlower turns the capital ẞ into it

void AppendFolded(std::string& folded, std::string_view text,
                  const std::array<std::uint32_t, 128>& asciiLower) {
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const std::uint32_t lower = byte < 0x80 ? asciiLower[byte]
                                            : static_cast<std::uint32_t>(std::towlower(
                                                  static_cast<wint_t>(NextCodePoint(text, at))));
    if (byte < 0x80)
      ++at;
    if (lower < 0x80) {
      folded += static_cast<char>(lower);
    } else if (lower == kSharpS) {
      folded += "ss";  // "Straße" and "Strasse" are one word to a German reader
    } else {
      AppendUtf8(folded, lower);
    }
  }
}

}  // namespace

std::string FoldLetterCase(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  AppendFolded(folded, text, AsciiLowerCase());
  return folded;
}

DueSearch::DueSearch(const RecordStore& store) {
  const std::array<std::uint32_t, 128> asciiLower = AsciiLowerCase();
  entries_.reserve(store.map().size());
  store.map().ForEach([&](const DueRecord& due) {
    Entry entry{due.recordId, due.dueDate, {}};
    entry.text.reserve(due.title.size() + due.payTo.size() + due.account.size() + due.notes.size() +
                       3);
    AppendFolded(entry.text, due.title, asciiLower);
    for (const std::string* field : {&due.payTo, &due.account, &due.notes}) {
      entry.text += '\0';
      AppendFolded(entry.text, *field, asciiLower);
    }
    entries_.push_back(std::move(entry));
  });
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.dueDate < b.dueDate; });
}

std::vector<std::string> DueSearch::Find(std::string_view text) const {
  std::vector<std::string> found;
  const std::string needle = FoldLetterCase(TrimWhiteSpace(text));
  if (needle.empty() || needle.find('\0') != std::string::npos)
    return found;
  for (const Entry& entry : entries_) {
    if (entry.text.find(needle) != std::string::npos)
      found.push_back(entry.recordId);
  }
  return found;
}

}  // namespace paylark

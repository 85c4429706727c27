#include "core/statements/text_folding.h"

#include <cstdint>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

// The base letter of each character from U+00C0 to U+00FF; '-' marks the two signs of the block
// and '*' the letters that fold to two (Æ, Þ, ß).
constexpr std::string_view kLatin1 =
    "aaaaaa*ceeeeiiiidnooooo-ouuuuy**"
    "aaaaaa*ceeeeiiiidnooooo-ouuuuy*y";
// The base letter of each character from U+0100 to U+017F; '*' marks Ĳ, ĳ, Œ and œ.
constexpr std::string_view kLatinExtendedA =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii**jjkkkllllllllll"
    "nnnnnnnnnoooooo**rrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";

// What one code point folds to: a letter or two, or nothing for a separator.
std::string_view FoldCodePoint(std::uint32_t codePoint) {
  static constexpr std::string_view kAscii =
      "abcdefghijklmnopqrstuvwxyz"
      "0123456789";
  if (codePoint >= 'a' && codePoint <= 'z')
    return kAscii.substr(codePoint - 'a', 1);
  if (codePoint >= 'A' && codePoint <= 'Z')
    return kAscii.substr(codePoint - 'A', 1);
  if (codePoint >= '0' && codePoint <= '9')
    return kAscii.substr(26 + codePoint - '0', 1);
  switch (codePoint) {
    case 0xC6:
    case 0xE6:
      return "ae";
    case 0xDE:
    case 0xFE:
      return "th";
    case 0xDF:
    case 0x1E9E:
      return "ss";
    case 0x132:
    case 0x133:
      return "ij";
    case 0x152:
    case 0x153:
      return "oe";
    default:
      break;
  }
  const auto letterFrom = [&](std::string_view table, std::uint32_t first) -> std::string_view {
    const char letter = table[codePoint - first];
    return letter == '-' ? std::string_view{}
                         : kAscii.substr(static_cast<std::size_t>(letter - 'a'), 1);
  };
  if (codePoint >= 0xC0 && codePoint <= 0xFF)
    return letterFrom(kLatin1, 0xC0);
  if (codePoint >= 0x100 && codePoint <= 0x17F)
    return letterFrom(kLatinExtendedA, 0x100);
  return {};
}

bool IsCombiningMark(std::uint32_t codePoint) {
  return codePoint >= 0x300 && codePoint <= 0x36F;
}

// Other scripts' letters stay; marks, punctuation and spaces below U+0250 separate words.
bool KeepsAsItIs(std::uint32_t codePoint) {
  return codePoint >= 0x250 && codePoint != 0xFFFD &&
         !(codePoint >= 0x2000 && codePoint <= 0x2BFF) && codePoint != 0x3000;
}

// Calls visit(word) for each blank-separated word of a folded text.
// Names are short: a plain loop beats a library search for each blank.
template <class Visit>
void ForEachWord(std::string_view folded, Visit&& visit) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= folded.size(); ++i) {
    if (i == folded.size() || folded[i] == ' ') {
      if (i > start)
        visit(folded.substr(start, i - start));
      start = i + 1;
    }
  }
}

}  // namespace

std::string FoldForMatching(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  bool pendingBlank = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::uint32_t codePoint = NextCodePoint(text, pos);
    if (IsCombiningMark(codePoint))
      continue;
    std::string_view letters = FoldCodePoint(codePoint);
    std::string kept;
    if (letters.empty() && KeepsAsItIs(codePoint)) {
      AppendUtf8(kept, codePoint);
      letters = kept;
    }
    if (letters.empty()) {
      pendingBlank = !folded.empty();
      continue;
    }
    if (pendingBlank)
      folded += ' ';
    pendingBlank = false;
    folded += letters;
  }
  return folded;
}

double NameSimilarity(std::string_view foldedText, std::string_view foldedName) {
  return FoldedWords(foldedText).Similarity(foldedName);
}

FoldedWords::FoldedWords(std::string_view foldedText) {
  ForEachWord(foldedText, [&](std::string_view word) { words_.push_back(word); });
}

bool FoldedWords::StartsAWord(std::string_view word) const {
  for (const std::string_view candidate : words_) {
    if (candidate.size() >= word.size() && candidate[0] == word[0] &&
        candidate.compare(0, word.size(), word) == 0)
      return true;
  }
  return false;
}

double FoldedWords::Similarity(std::string_view foldedName) const {
  std::size_t total = 0;
  std::size_t found = 0;
  ForEachWord(foldedName, [&](std::string_view word) {
    total += word.size();
    if (StartsAWord(word))
      found += word.size();
  });
  return total == 0 ? 0.0 : static_cast<double>(found) / static_cast<double>(total);
}

}  // namespace paylark

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace paylark {

// The text as matching compares names: Latin letters without their accents and in lower case
// ("Müller-Lüdenscheidt" and "MULLER LUDENSCHEIDT" fold alike; "ß" and "ẞ" become "ss", "Æ" "ae"),
// digits kept, every run of other marks and white space one blank, none at either end. Letters of
// other scripts are kept as they are. Independent of the process locale.
std::string FoldForMatching(std::string_view text);

// How much of a due's name the text of a transaction shows, from 0 (nothing) to 1 (every word):
// the words of the name (folded alike) found in the text at a word start, weighted by their
// length so that a short word counts for little.
double NameSimilarity(std::string_view foldedText, std::string_view foldedName);

// The words of one folded text, split once so that many names are compared with it cheaply.
class FoldedWords {
 public:
  // The text must outlive this.
  explicit FoldedWords(std::string_view foldedText);
  // NameSimilarity(foldedText, foldedName).
  double Similarity(std::string_view foldedName) const;

 private:
  bool StartsAWord(std::string_view word) const;

  std::vector<std::string_view> words_;
};

}  // namespace paylark

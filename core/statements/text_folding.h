#pragma once

#include <string>
#include <string_view>

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

}  // namespace paylark

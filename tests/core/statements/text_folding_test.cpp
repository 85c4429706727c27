#include "core/statements/text_folding.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

TEST(TextFoldingTest, FoldsAccentsAndLetterCaseOfLatinLetters) {
  const struct {
    const char* text;
    const char* folded;
  } cases[] = {
      {"Müller-Lüdenscheidt", "muller ludenscheidt"},
      {"  STRAẞE  ", "strasse"},
      {"Straße", "strasse"},
      {"Œuvre Æther Ĳssel", "oeuvre aether ijssel"},
      {"Łódź, Škoda; Ørsted", "lodz skoda orsted"},
      {"Cafe\xCC\x81 Noe\xCC\x88l", "cafe noel"},  // combining marks
      {"Miete 11/2026 #4711", "miete 11 2026 4711"},
      {"Ελλάδα", "Ελλάδα"},
      {"", ""},
      {"--", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FoldForMatching(c.text), c.folded) << c.text;
}

TEST(TextFoldingTest, NameSimilarityWeighsTheNamesWordsFoundAtWordStarts) {
  EXPECT_DOUBLE_EQ(NameSimilarity("stadtwerke munchen gmbh", "stadtwerke munchen"), 1.0);
  EXPECT_DOUBLE_EQ(NameSimilarity("stadtwerke koln", "stadtwerke munchen"), 10.0 / 17.0);
  EXPECT_DOUBLE_EQ(NameSimilarity("billing", "ing"), 0.0);  // not at a word start
  EXPECT_DOUBLE_EQ(NameSimilarity("anything", ""), 0.0);
}

}  // namespace
}  // namespace paylark

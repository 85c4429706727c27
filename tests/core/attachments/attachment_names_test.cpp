#include "core/attachments/attachment_names.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

TEST(AttachmentNamesTest, NamesAreMadePlainAndVisible) {
  const struct {
    const char* given;
    const char* kept;
  } cases[] = {
      {"bill.pdf", "bill.pdf"},
      {"a/b.pdf", "a_b.pdf"},
      {"tab\there\n.pdf", "tab_here_.pdf"},
      {"del\x7f.txt", "del_.txt"},
      {".hidden", "hidden"},
      {"...x.pdf", "x.pdf"},
      {"Rechnung März.pdf", "Rechnung März.pdf"},
  };
  for (const auto& c : cases) {
    const Result<std::string> name = SafeAttachmentName(c.given);
    ASSERT_TRUE(name.ok()) << c.given;
    EXPECT_EQ(name.value(), c.kept) << c.given;
  }
}

TEST(AttachmentNamesTest, ANameOfDotsOnlyOrNothingIsRefused) {
  for (const char* given : {"", ".", "..", "....."}) {
    const Result<std::string> name = SafeAttachmentName(given);
    ASSERT_FALSE(name.ok()) << given;
    EXPECT_EQ(name.status().code(), StatusCode::kInvalidArgument);
  }
}

TEST(AttachmentNamesTest, ALongNameKeepsItsExtensionAndWholeCharacters) {
  const std::string stem(300, 'a');
  const std::string name = SafeAttachmentName(stem + ".pdf").value();
  EXPECT_EQ(name.size(), 240u);
  EXPECT_TRUE(name.ends_with("a.pdf"));
  std::string umlauts;
  for (int i = 0; i < 150; ++i)
    umlauts += "ä";  // two bytes each: a cut at 240 - 4 falls inside none
  const std::string cut = SafeAttachmentName(umlauts + ".pdf").value();
  EXPECT_LE(cut.size(), 240u);
  EXPECT_EQ((cut.size() - 4) % 2, 0u);
  EXPECT_TRUE(cut.ends_with("ä.pdf"));
}

TEST(AttachmentNamesTest, ATakenNameIsNumberedBeforeItsExtension) {
  EXPECT_EQ(FreeAttachmentName("bill.pdf", {}), "bill.pdf");
  EXPECT_EQ(FreeAttachmentName("bill.pdf", {"bill.pdf"}), "bill (2).pdf");
  EXPECT_EQ(FreeAttachmentName("bill.pdf", {"bill.pdf", "bill (2).pdf"}), "bill (3).pdf");
  EXPECT_EQ(FreeAttachmentName("README", {"README"}), "README (2)");
  EXPECT_EQ(FreeAttachmentName("a.tar.gz", {"a.tar.gz"}), "a.tar (2).gz");
}

}  // namespace
}  // namespace paylark

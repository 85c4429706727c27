#include "core/print/print_output.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "tests/support/memory_file_system.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

class PrintOutputTest : public ::testing::Test {
 protected:
  PrintOutputTest() {
    files_.Put("/share/Templates/icon.bmp", "BMicon");
    files_.Put("/share/Templates/recicon.bmp", "BMseries");
    (void)CreateFolders(files_, "/tmp/print");
  }

  MemoryFileSystem files_;
  const std::vector<std::string> folders_ = {"/user/Templates", "/share/Templates"};
};

TEST_F(PrintOutputTest, ThePageAndItsIconsLandInThePagesFolder) {
  ASSERT_TRUE(WritePrintPage("<html/>", "/tmp/print/page.html", folders_, files_).ok());
  EXPECT_EQ(files_.Contents("/tmp/print/page.html"), "<html/>");
  EXPECT_EQ(files_.Contents("/tmp/print/icon.bmp"), "BMicon");
  EXPECT_EQ(files_.Contents("/tmp/print/recicon.bmp"), "BMseries");
  EXPECT_EQ(files_.Names("/tmp/print"),
            (std::vector<std::string>{"icon.bmp", "page.html", "recicon.bmp"}));
}

TEST_F(PrintOutputTest, AMissingIconIsNamedButThePageIsWritten) {
  (void)files_.Remove("/share/Templates/recicon.bmp");
  const Status written = WritePrintPage("<html/>", "/tmp/print/page.html", folders_, files_);
  EXPECT_EQ(written.code(), StatusCode::kNotFound);
  EXPECT_NE(written.message().find("recicon.bmp"), std::string::npos) << written.message();
  EXPECT_EQ(files_.Contents("/tmp/print/page.html"), "<html/>");
}

TEST_F(PrintOutputTest, AFullDiskLeavesNoPartOfThePage) {
  files_.Put("/tmp/print/page.html", "the last page");
  files_.FailAlways(Call::kWrite, ENOSPC);
  const Status written = WritePrintPage("<html/>", "/tmp/print/page.html", folders_, files_);
  EXPECT_EQ(written.code(), StatusCode::kIoError);
  EXPECT_EQ(files_.Contents("/tmp/print/page.html"), "the last page");
  EXPECT_EQ(files_.Names("/tmp/print"), std::vector<std::string>{"page.html"});
}

}  // namespace
}  // namespace paylark

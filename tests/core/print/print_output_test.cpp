#include "core/print/print_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace paylark {
namespace {

namespace fs = std::filesystem;

class PrintOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("paylark-print-" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "user");
    fs::create_directories(root_ / "installed");
    fs::create_directories(root_ / "out");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string Get(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> Folders() {
    return {(root_ / "user").string(), (root_ / "installed").string()};
  }

  fs::path root_;
};

TEST_F(PrintOutput, WritesThePageAndCopiesTheFirstIconsFoundBesideIt) {
  Put(root_ / "user" / "icon.bmp", std::string("BM\0user", 7));
  Put(root_ / "installed" / "icon.bmp", "BMinstalled");
  Put(root_ / "installed" / "recicon.bmp", std::string("BM\0\0rec", 7));
  const Status status =
      WritePrintPage("<p>page</p>", (root_ / "out" / "print.html").string(), Folders());
  ASSERT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(Get(root_ / "out" / "print.html"), "<p>page</p>");
  EXPECT_EQ(Get(root_ / "out" / "icon.bmp"), std::string("BM\0user", 7));
  EXPECT_EQ(Get(root_ / "out" / "recicon.bmp"), std::string("BM\0\0rec", 7));
}

TEST_F(PrintOutput, MissingIconIsReportedAfterThePageIsWritten) {
  Put(root_ / "installed" / "icon.bmp", "BM");
  const Status status = WritePrintPage("x", (root_ / "out" / "print.html").string(), Folders());
  EXPECT_EQ(status.message(), "The template file \"recicon.bmp\" could not be found.");
  EXPECT_EQ(Get(root_ / "out" / "print.html"), "x");
}

TEST_F(PrintOutput, UnwritableFolderFailsWithTheReason) {
  const Status status = WritePrintPage("x", (root_ / "missing" / "print.html").string(), Folders());
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.message().find("print.html"), std::string::npos);
}

}  // namespace
}  // namespace paylark

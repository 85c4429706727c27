#include "core/export/data_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "core/base/messages.h"
#include "core/export/template_files.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/scoped_variable.h"

namespace paylark {
namespace {

using Call = MemoryFileSystem::Call;

TEST(JoinPath, ReadsThePathByItsTextAlone) {
  struct Case {
    const char* folder;
    const char* name;
    const char* joined;
  };
  for (const Case& c : std::vector<Case>{{"/usr/bin", "../share", "/usr/share"},
                                         {"/usr/bin/", "./paylark/", "/usr/bin/paylark"},
                                         {"/usr//bin", "", "/usr/bin"},
                                         {"/", "../../etc", "/etc"},
                                         {"/a/b", "../../..", "/"},
                                         {"build", "../../x", "../x"},
                                         {"", "page.html", "page.html"},
                                         {"", "", "."}}) {
    EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
  }
}

class DataFoldersTest : public ::testing::Test {
 protected:
  testing::ScopedVariable data_{"XDG_DATA_HOME", "/home/ann/.local/share"};
  MemoryFileSystem files_;
};

TEST_F(DataFoldersTest, TemplatesAreLookedForBesideTheUserTheExecutableAndTheInstall) {
  files_.SetExecutablePath("/opt/paylark/bin/paylark");
  const std::vector<std::string> folders = DataFolders(DataKind::kTemplates, files_);
  ASSERT_GE(folders.size(), 3U);
  EXPECT_EQ(folders[0], "/home/ann/.local/share/paylark/Templates");
  EXPECT_EQ(folders[1], "/opt/paylark/bin/Templates");
  // The installed folders, found from the executable and fixed at build time.
  for (std::size_t i = 2; i < folders.size(); ++i) {
    EXPECT_TRUE(folders[i].starts_with('/')) << folders[i];
    EXPECT_TRUE(folders[i].ends_with("/paylark/Templates")) << folders[i];
    EXPECT_EQ(folders[i].find(".."), std::string::npos) << folders[i];
  }
}

TEST_F(DataFoldersTest, TheManualIsNeverLookedForInTheUsersFolder) {
  files_.SetExecutablePath("/opt/paylark/bin/paylark");
  const std::vector<std::string> folders = DataFolders(DataKind::kManual, files_);
  ASSERT_GE(folders.size(), 2U);
  EXPECT_EQ(folders[0], "/opt/paylark/bin");
  for (const std::string& folder : folders)
    EXPECT_EQ(folder.find("/home/ann"), std::string::npos) << folder;
}

TEST_F(DataFoldersTest, AnUnknownExecutableLeavesTheUserAndTheBuildsFolder) {
  const std::vector<std::string> folders = DataFolders(DataKind::kTemplates, files_);
  ASSERT_FALSE(folders.empty());
  EXPECT_EQ(folders.front(), "/home/ann/.local/share/paylark/Templates");
  EXPECT_LE(folders.size(), 2U);
}

TEST_F(DataFoldersTest, TheFirstFolderHoldingARegularFileWins) {
  const std::vector<std::string> folders = {"/user", "/odd", "/bin", "/share"};
  files_.PutOther("/odd/Print.html");
  files_.Put("/bin/Print.html", "yes");
  files_.Put("/share/Print.html", "later");
  EXPECT_EQ(FindTemplate("Print.html", folders, files_), "/bin/Print.html");
  EXPECT_EQ(FindTemplate("Other.html", folders, files_), std::nullopt);
}

TEST(TemplateFiles, ATemplateEndsAtItsFirstNulByte) {
  MemoryFileSystem files;
  files.Put("/t/Print.html", std::string("<p>kept</p>\0dropped", 19));
  const Result<std::string> text = ReadTemplate("/t/Print.html", files);
  ASSERT_TRUE(text.ok()) << text.status().message();
  EXPECT_EQ(text.value(), "<p>kept</p>");
}

TEST(TemplateFiles, AFileThatCannotBeReadSaysWhichAndWhy) {
  MemoryFileSystem files;
  files.Put("/t/Locked.html", "x");
  files.FailRead("/t/Locked.html", EACCES);
  files.PutOther("/t/Fifo.html");
  for (const char* path : {"/t/Missing.html", "/t/Locked.html", "/t/Fifo.html"}) {
    const Result<std::string> text = ReadTemplate(path, files);
    ASSERT_FALSE(text.ok()) << path;
    EXPECT_EQ(text.status().code(), StatusCode::kIoError) << path;
    EXPECT_NE(text.status().message().find(path), std::string::npos) << text.status().message();
  }
}

}  // namespace
}  // namespace paylark

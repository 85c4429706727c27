// Symbolic links in the Attachments folder, on a real folder: a sync engine carries links as it
// finds them, and none may lead a list, an attach, a detach, a deletion, a backup or a restore to
// read, move, write or remove anything outside the working directory.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/attachments/attachment_removal.h"
#include "core/attachments/attachment_store.h"
#include "core/io/beneath_path.h"
#include "core/sync/backups.h"
#include "tests/core/sync/sync_folder.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;

class AttachmentLinksTest : public ::testing::Test {
 protected:
  AttachmentLinksTest() {
    fs::create_directories(outside_ / ".ssh");
    Write(outside_ / ".ssh" / "id_ed25519", "PRIVATE KEY");
    fs::create_directories(outside_ / "Documents");
    Write(outside_ / "Documents" / "letter.odt", "LETTER");
    Write(outside_ / "secret.txt", "SECRET");
    before_ = Outside();
  }

  static void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  // Every file outside the working directory, by path, with its bytes.
  std::map<std::string, std::string> Outside() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(outside_))
      files[entry.path().string()] =
          entry.is_regular_file() ? testing::FileBytes(entry.path()) : "";
    return files;
  }

  fs::path Attachments() const { return folder_.Records() / "Attachments"; }

  std::string AddWithAttachment(const std::string& name, const std::string& bytes) {
    std::string id = folder_.Add("Rent", 500);
    EXPECT_TRUE(store_.AddBytes(id, name, bytes).ok());
    return id;
  }

  std::string Backup() {
    Result<TakenBackup> taken = TakeBackup(SystemFileSystem(), folder_.store().workingDirectory(),
                                           folder_.clock(), kDefaultBackupsKept);
    EXPECT_TRUE(taken.ok()) << taken.status().message();
    folder_.clock().AdvanceSeconds(60);
    if (!taken.ok())
      return {};
    leftOut_ = taken.value().leftOut;
    return taken.value().path;
  }

  // Whether a left-out file of the last backup has this name.
  bool LeftOut(const std::string& name) const {
    for (const SkippedFile& file : leftOut_) {
      if (file.fileName == name)
        return true;
    }
    return false;
  }

  Status Delete(const std::string& id) {
    return DeleteWithAttachments(folder_.store(), SeriesChoice::kThisRecord,
                                 folder_.store().Get(id), backups_)
        .attachmentsMoved;
  }

  SyncFolder folder_;
  fs::path outside_ = folder_.Records().parent_path().parent_path() / "home";
  std::string backups_ = BackupsFolder(folder_.store().workingDirectory());
  AttachmentStore store_{SystemFileSystem(), folder_.store().workingDirectory()};
  std::map<std::string, std::string> before_;
  std::vector<SkippedFile> leftOut_;
};

TEST_F(AttachmentLinksTest, ADuesFolderLinkedOutsideIsNeitherReadNorChanged) {
  const std::string id = AddWithAttachment("authorized_keys", "BACKUP KEYS");
  const std::string path = Backup();
  fs::remove_all(Attachments() / id);
  fs::create_directory_symlink(outside_ / ".ssh", Attachments() / id);

  EXPECT_EQ(store_.List(id).status().code(), StatusCode::kInvalidArgument);
  EXPECT_FALSE(store_.Read(id, "id_ed25519").ok());
  EXPECT_FALSE(store_.AddBytes(id, "bill.pdf", "BILL").ok());
  EXPECT_FALSE(store_.Remove(id, "id_ed25519", backups_).ok());
  EXPECT_FALSE(store_.Put(id, "authorized_keys", "KEYS").ok());

  Backup();
  EXPECT_TRUE(LeftOut("Attachments/" + id));
  const Status restored =
      RestoreBackup(folder_.store(), folder_.clock(), path, kDefaultBackupsKept);
  EXPECT_FALSE(restored.ok());
  EXPECT_NE(restored.message().find("symbolic link"), std::string::npos) << restored.message();
  EXPECT_FALSE(Delete(id).ok());
  EXPECT_EQ(Outside(), before_);
  EXPECT_TRUE(fs::is_symlink(Attachments() / id));
}

TEST_F(AttachmentLinksTest, AnAttachmentsFolderLinkedOutsideIsNeitherReadNorChanged) {
  const std::string id = AddWithAttachment("bill.pdf", "BILL");
  const std::string path = Backup();
  fs::remove_all(Attachments());
  fs::create_directory_symlink(outside_, Attachments());
  fs::create_directory(outside_ / id);
  Write(outside_ / id / "bill.pdf", "NOT OURS");
  before_ = Outside();

  EXPECT_EQ(store_.List(id).status().code(), StatusCode::kInvalidArgument);
  EXPECT_FALSE(store_.RecordsWithAttachments().ok());
  EXPECT_FALSE(store_.AddBytes(id, "more.pdf", "MORE").ok());
  EXPECT_FALSE(store_.Remove(id, "bill.pdf", backups_).ok());
  Backup();
  EXPECT_TRUE(LeftOut("Attachments"));
  EXPECT_FALSE(RestoreBackup(folder_.store(), folder_.clock(), path, kDefaultBackupsKept).ok());
  EXPECT_FALSE(Delete(id).ok());
  EXPECT_EQ(Outside(), before_);
  EXPECT_FALSE(fs::exists(fs::path(backups_) / "Removed attachments" / id / "bill.pdf"));
}

TEST_F(AttachmentLinksTest, LinksInADuesFolderAreForeignFilesLeftAlone) {
  const std::string id = AddWithAttachment("bill.pdf", "BILL");
  fs::create_symlink(outside_ / "secret.txt", Attachments() / id / "secret.txt");
  fs::create_directory_symlink(outside_ / "Documents", Attachments() / id / "Documents");

  const Result<AttachmentListing> listing = store_.Listing(id);
  ASSERT_TRUE(listing.ok()) << listing.status().message();
  ASSERT_EQ(listing.value().attachments.size(), 1u);
  EXPECT_EQ(listing.value().attachments[0].name, "bill.pdf");
  EXPECT_EQ(listing.value().foreign, (std::vector<std::string>{"Documents", "secret.txt"}));
  EXPECT_EQ(store_.Read(id, "secret.txt").status().code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(store_.Remove(id, "secret.txt", backups_).code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(store_.Put(id, "secret.txt", "OVERWRITTEN").code(), StatusCode::kInvalidArgument);

  const std::string path = Backup();
  EXPECT_TRUE(LeftOut("Attachments/" + id + "/secret.txt"));
  EXPECT_TRUE(LeftOut("Attachments/" + id + "/Documents"));
  EXPECT_EQ(testing::FileBytes(path).find("SECRET"), std::string::npos);
  EXPECT_FALSE(RestoreBackup(folder_.store(), folder_.clock(), path, kDefaultBackupsKept).ok());

  const Status deleted = Delete(id);
  EXPECT_EQ(deleted.code(), StatusCode::kInvalidArgument);
  EXPECT_NE(deleted.message().find("left alone"), std::string::npos) << deleted.message();
  EXPECT_EQ(testing::FileBytes(fs::path(backups_) / "Removed attachments" / id / "bill.pdf"),
            "BILL");
  EXPECT_TRUE(fs::is_symlink(Attachments() / id / "secret.txt"));
  EXPECT_EQ(Outside(), before_);
}

// An attachment listed as a file and swapped for a link before it is opened.
TEST_F(AttachmentLinksTest, AFileSwappedForALinkAfterListingIsNotFollowed) {
  const std::string id = AddWithAttachment("bill.pdf", "BILL");
  ASSERT_EQ(store_.List(id).value().size(), 1u);
  fs::remove(Attachments() / id / "bill.pdf");
  fs::create_symlink(outside_ / "secret.txt", Attachments() / id / "bill.pdf");
  EXPECT_EQ(store_.Read(id, "bill.pdf").status().code(), StatusCode::kInvalidArgument);
  EXPECT_FALSE(store_.Remove(id, "bill.pdf", backups_).ok());
  EXPECT_EQ(Outside(), before_);
}

TEST_F(AttachmentLinksTest, StepByStepOpeningRefusesLinksAndLeavingTheRoot) {
  const std::string id = AddWithAttachment("bill.pdf", "BILL");
  fs::create_directory_symlink(outside_, Attachments() / "elsewhere");
  const int root = open(folder_.Records().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(root, 0);
  for (const auto openFile : {&OpenBeneath, &OpenStepByStep}) {
    const int fd = openFile(root, ("Attachments/" + id + "/bill.pdf").c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(openFile(root, "Attachments/elsewhere/secret.txt", O_RDONLY), -1);
    EXPECT_EQ(errno, ELOOP);
    EXPECT_EQ(openFile(root, "Attachments/elsewhere", O_RDONLY | O_DIRECTORY), -1);
    EXPECT_EQ(errno, ELOOP);
    EXPECT_EQ(openFile(root, "../home/secret.txt", O_RDONLY), -1);
    EXPECT_EQ(errno, EXDEV);
  }
  close(root);
}

}  // namespace
}  // namespace paylark

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"
#include "core/io/file_system.h"

namespace paylark {

inline constexpr std::string_view kAttachmentsFolderName = "Attachments";
// Inside the backups folder: the attachments of deleted dues, by record ID.
inline constexpr std::string_view kRemovedAttachmentsFolderName = "Removed attachments";
inline constexpr std::uint64_t kMaxAttachmentBytes = std::uint64_t{64} << 20;
// Inside the Attachments folder: ".paylark-aside-<process ID>" holds what a restore replaced,
// until it goes to the backups folder's "Removed attachments".
inline constexpr std::string_view kSetAsidePrefix = ".paylark-aside-";

// <working directory>/Paylark Files/Attachments.
std::string AttachmentsFolderPath(std::string_view workingDirectory);

struct Attachment {
  std::string name;
  std::uint64_t size = 0;
};

// A due's folder as it is: its attachments, and the names of what is no attachment of ours (a
// symbolic link, a FIFO), left alone and only told of.
struct AttachmentListing {
  std::vector<Attachment> attachments;
  std::vector<std::string> foreign;
};

// What is told of a file in a due's folder that is no attachment of ours (a symbolic link, a
// FIFO): InvalidArgument, naming it; the file stays where it is.
Status ForeignFile(std::string_view recordId, std::string_view name);

// The files kept with dues: one folder per record ID in the records folder's "Attachments"
// folder, so that whatever syncs or backs up the records carries them too. The folder is the
// list; names starting with a dot (temporary files, ours or a sync engine's) are not part of it.
// Every call goes through the FileSystem, beneath the records folder: no symbolic link there is
// ever followed, so a link a sync engine carried in never leads a read, a move or a write
// outside; a link is a foreign file, left where it is.
class AttachmentStore {
 public:
  AttachmentStore(FileSystem& files, std::string_view workingDirectory);

  const std::string& folder() const { return folder_; }
  // The path of an attachment, whether or not it exists.
  std::string PathOf(std::string_view recordId, std::string_view name) const;

  // The due's attachments by name, in byte order; none when it has no folder. A due's folder
  // that is a symbolic link is InvalidArgument.
  Result<std::vector<Attachment>> List(std::string_view recordId) const;
  // As List, with the foreign files named too.
  Result<AttachmentListing> Listing(std::string_view recordId) const;
  // The attachment's bytes, never read through a link (InvalidArgument).
  Result<std::string> Read(std::string_view recordId, std::string_view name) const;
  // The same, mapped where the system can: for comparing a large file without a copy.
  Result<FileBytes> ReadLarge(std::string_view recordId, std::string_view name) const;
  // The record IDs that have at least one attachment, from one reading of the Attachments
  // folder (a due's folder that is there at all counts, and so does a link in its place, which
  // whoever works on it then tells of), so that a million dues cost no million reads. None when
  // there is no Attachments folder.
  Result<std::set<std::string>> RecordsWithAttachments() const;

  // Copies the file in and gives the name it is kept under (SafeAttachmentName, numbered when
  // taken). A folder, anything but a regular file, a file over kMaxAttachmentBytes or one that
  // cannot be read is refused with a message that names it. The bytes go to a temporary file
  // first and are renamed into place, so a failure never leaves part of a file under a name.
  Result<std::string> Add(std::string_view recordId, const std::string& sourcePath);
  // As Add, for bytes that have a name already (a file dropped from another program).
  Result<std::string> AddBytes(std::string_view recordId, std::string_view fileName,
                               std::string_view bytes);
  // Puts the bytes in place under exactly this name (a restore), replacing an attachment that is
  // there; a foreign file under the name is left alone (InvalidArgument).
  Status Put(std::string_view recordId, const std::string& name, std::string_view bytes);
  // Whether Add would take the file: NotFound when it is not there, InvalidArgument (naming it)
  // for a folder, anything but a regular file, a file too large or a name that is only dots.
  Status CheckSource(const std::string& sourcePath);
  // Moves the attachment into `backupsFolder`/Removed attachments/<record ID>/ (a name taken
  // there is numbered): a removal never deletes the user's file outright. NotFound when the due
  // has no attachment of that name; InvalidArgument for a foreign file, which stays.
  Status Remove(std::string_view recordId, std::string_view name, const std::string& backupsFolder);
  // Moves all of the due's attachments into `backupsFolder`/Removed attachments/<record ID>/
  // (a name taken there is numbered), by rename or, across file systems, by copy and removal;
  // its folder goes when empty. It is not an error if the due has none. A file that cannot be
  // moved stays where it was, and so does a foreign file; the first of these is given.
  Status MoveToRemoved(std::string_view recordId, const std::string& backupsFolder);
  // Removes the copies that killed writers left in every due's folder (by the records folder's
  // rules: a writer that is gone, or an hour old), so that none waits for the next attach to its
  // due, or forever once the due is gone. A folder that cannot be listed is passed over.
  void RemoveStaleTemporaries();

  // Paths relative to the records folder, as a swap of its files takes them: where an attachment
  // is kept, and where a restore run by this process sets it aside.
  static std::string RelativePathOf(std::string_view recordId, std::string_view name);
  std::string SetAsidePathOf(std::string_view recordId, std::string_view name) const;
  // Moves what restores set aside into `backupsFolder`/Removed attachments/<record ID>/ (a name
  // taken there is numbered) once the restore is gone or is this process, and removes their
  // emptied folders. A restore still running keeps its own, and nothing moves while a swap of the
  // records folder waits to be finished. Gives the first failure; what could not be moved stays
  // for the next time.
  Status ReleaseSetAside(const std::string& backupsFolder);

 private:
  Result<std::string> FolderOf(std::string_view recordId) const;
  // Copies that a writer left in the folder when it was killed.
  void RemoveStaleTemporariesIn(const std::string& folder);
  std::string RemovedFolderOf(std::string_view recordId, const std::string& backupsFolder) const;
  // With kCreateNew a taken name is numbered; kReplace puts the file under the name itself.
  Result<std::string> Place(const std::string& folder, const std::string& name,
                            std::string_view bytes, Placement placement);
  // Moves the named files of `folder` into the due's "Removed attachments" folder.
  Status MoveNamesToRemoved(const std::string& folder, std::string_view recordId,
                            const std::vector<std::string>& names,
                            const std::string& backupsFolder);
  // Moves one restore's set-aside folder out, due by due.
  Status ReleaseSetAsideFolder(const std::string& folder, const std::string& backupsFolder);
  // Gives the name the file got in `toFolder`.
  Result<std::string> MoveOne(const std::string& from, const std::string& toFolder,
                              const std::string& name, const std::set<std::string>& taken);

  std::unique_ptr<FileSystem> files_;  // beneath the records folder
  std::string folder_;
  int temporaryCounter_ = 0;
};

}  // namespace paylark

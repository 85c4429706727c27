#pragma once

#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/io/file_system.h"

namespace paylark {

// A file that appears at its path complete or not at all, written through a FileSystem. The
// content goes to a temporary file beside the target (".paylark-<process ID>-…", so that only a
// writer that is gone leaves it for others to remove), which Commit flushes and renames over the
// target; an uncommitted temporary file is removed when the object goes away. A replaced file
// keeps its permission bits; a new one gets those the umask allows.
class ReplacingFile {
 public:
  // Fails when the target's folder cannot hold a new file (missing, not a folder, read-only).
  static Result<ReplacingFile> Create(std::string targetPath, FileSystem& files);

  ReplacingFile(ReplacingFile&& other) noexcept;
  ReplacingFile& operator=(ReplacingFile&&) = delete;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile();

  // The temporary file, for writers that create files by name themselves (on the system's file
  // system): Commit takes what they left there.
  const std::string& temporaryPath() const { return temporaryPath_; }
  // Adds bytes to the content; nothing reaches the disk before Commit.
  Status Write(std::string_view bytes);
  Status Commit();

 private:
  ReplacingFile(FileSystem& files, std::string targetPath, std::string temporaryPath, int mode);
  Status Failure(const Status& status) const;

  FileSystem* files_;
  std::string targetPath_;
  std::string temporaryPath_;
  int mode_;
  std::string content_;
  bool written_ = false;
  bool committed_ = false;
};

}  // namespace paylark

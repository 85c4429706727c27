#pragma once

#include <string>
#include <string_view>

#include "core/base/status.h"

namespace paylark {

// A file that appears at its path complete or not at all. The content goes to a temporary file
// beside the target (".paylark-…"), which Commit flushes and renames over the target; an
// uncommitted temporary file is removed when the object goes away.
class ReplacingFile {
 public:
  // Fails when the target's folder cannot hold a new file (missing, not a folder, read-only).
  static Result<ReplacingFile> Create(std::string targetPath);

  ReplacingFile(ReplacingFile&& other) noexcept;
  ReplacingFile& operator=(ReplacingFile&&) = delete;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile();

  // The temporary file, for writers that open files by name themselves.
  const std::string& temporaryPath() const { return temporaryPath_; }
  Status Write(std::string_view bytes);
  Status Commit();

 private:
  ReplacingFile(std::string targetPath, std::string temporaryPath, int descriptor);
  Status Failure(std::string_view path, int error) const;

  std::string targetPath_;
  std::string temporaryPath_;
  int descriptor_ = -1;
  bool committed_ = false;
};

}  // namespace paylark

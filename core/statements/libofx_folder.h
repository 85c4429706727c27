#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/io/file_system.h"

namespace paylark {

// Names in the temporary folder that carry their process's ID: LibofxFolder's folders and
// LibofxInput's scratch files, "paylark-ofx-<process ID>-<random>".
inline constexpr std::string_view kLibofxTemporaryPrefix = "paylark-ofx-";

// The temporary folder: $TMPDIR, or /tmp.
std::string TemporaryFolder();

// A folder of its own for the copies LibOFX writes of each statement it reads ("libofxtmp…",
// wherever TMPDIR points), so that a killed read never leaves them among the user's temporary
// files: <temporary folder>/paylark-ofx-<process ID>-<random>, removed with what it holds when
// the LibofxFolder goes. Made, and gone, with LibOFX's lock held: TMPDIR points into it meanwhile.
class LibofxFolder {
 public:
  // First removes what processes that are gone left in the temporary folder.
  static Result<std::unique_ptr<LibofxFolder>> Make(FileSystem& files);
  LibofxFolder(const LibofxFolder&) = delete;
  LibofxFolder& operator=(const LibofxFolder&) = delete;
  ~LibofxFolder();

  const std::string& path() const { return path_; }

 private:
  LibofxFolder(FileSystem& files, std::string path, std::optional<std::string> savedTemporary)
      : files_(files), path_(std::move(path)), savedTemporary_(std::move(savedTemporary)) {}

  FileSystem& files_;
  std::string path_;
  std::optional<std::string> savedTemporary_;  // TMPDIR before
};

// Removes from the temporary folder the folders and scratch files whose process is gone, with
// what the folders hold. Another user's, which cannot be removed, are passed over.
void RemoveStaleLibofxFiles(FileSystem& files, const std::string& temporaryFolder);

}  // namespace paylark

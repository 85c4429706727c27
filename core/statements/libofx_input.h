#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/base/status.h"

namespace paylark {

// The statement's bytes where LibOFX, which reads files by path only, can read them: a memory
// file (memfd_create, read through /proc/self/fd) that leaves nothing on disk even when Paylark
// is killed, or where the kernel has none, a scratch file in $TMPDIR readable by this user alone
// and removed when the input goes (or, after a kill, by the next LibofxFolder).
class LibofxInput {
 public:
  LibofxInput(const LibofxInput&) = delete;
  LibofxInput& operator=(const LibofxInput&) = delete;
  ~LibofxInput();

  enum class Kind { kMemoryFile, kScratchFile };
  static Result<std::unique_ptr<LibofxInput>> Write(std::string_view bytes);
  // The same, never as a memory file: what happens where memfd_create is missing.
  static Result<std::unique_ptr<LibofxInput>> WriteScratchFile(std::string_view bytes);

  const std::string& path() const { return path_; }
  Kind kind() const { return kind_; }

 private:
  LibofxInput(Kind kind, std::string path, int descriptor)
      : kind_(kind), path_(std::move(path)), descriptor_(descriptor) {}

  Kind kind_;
  std::string path_;
  int descriptor_;  // the memory file's, or -1
};

}  // namespace paylark

#pragma once

#include <liburing.h>

#include <cstddef>
#include <memory>
#include <span>
#include <string>

namespace paylark {

// Many small files opened, read and closed through one io_uring: a batch costs the kernel a
// couple of calls instead of four a file, which is most of what reading a million record files
// costs. One thread uses a ring at a time.
class FileRing {
 public:
  // The most files a batch holds: each is an open descriptor until the batch is read.
  static constexpr std::size_t kBatch = 128;

  // Null where the system offers no io_uring (an old kernel, or a sandbox that forbids it).
  static std::unique_ptr<FileRing> Create();
  ~FileRing();
  FileRing(const FileRing&) = delete;
  FileRing& operator=(const FileRing&) = delete;

  // False once the kernel refused a submission: completions may then still be owed, so the ring
  // is used no more.
  bool usable() const { return usable_; }

  // Opens each of the folder's files (`paths` relative to it, at most kBatch) with openat's
  // `flags`; `descriptors` gets each descriptor or the negated errno.
  void OpenEach(int folder, std::span<const char* const> paths, int flags,
                std::span<int> descriptors);
  // Reads from each descriptor into its buffer from the start, then closes it. A negative
  // descriptor is skipped. `results` gets the bytes read or the negated errno.
  void ReadAndClose(std::span<const int> descriptors, std::span<const std::span<char>> buffers,
                    std::span<int> results);

 private:
  FileRing() = default;
  // Submits what was queued and takes `count` completions, each handed to `take`.
  template <typename Take>
  void Complete(unsigned count, Take take);

  io_uring ring_{};
  bool usable_ = true;
};

}  // namespace paylark

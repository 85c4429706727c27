#include "core/io/file_ring.h"

#include <cerrno>
#include <cstdint>

namespace paylark {
namespace {

// A read and the close after it take two entries a file.
constexpr unsigned kEntries = 2 * FileRing::kBatch;
// Told apart in the completions: the low bits are the file's place in the batch.
constexpr std::uint64_t kCloseTag = std::uint64_t{1} << 32;

}  // namespace

std::unique_ptr<FileRing> FileRing::Create() {
  std::unique_ptr<FileRing> ring(new FileRing);
  io_uring_params params{};
  // One thread submits and reaps: the kernel need not interrupt it to post completions.
  params.flags = IORING_SETUP_SUBMIT_ALL | IORING_SETUP_COOP_TASKRUN | IORING_SETUP_SINGLE_ISSUER;
  if (io_uring_queue_init_params(kEntries, &ring->ring_, &params) == 0)
    return ring;
  // A kernel older than those flags still has the ring.
  params = {};
  if (io_uring_queue_init_params(kEntries, &ring->ring_, &params) == 0)
    return ring;
  return nullptr;
}

FileRing::~FileRing() {
  io_uring_queue_exit(&ring_);
}

template <typename Take>
void FileRing::Complete(unsigned count, Take take) {
  unsigned taken = 0;
  while (taken < count) {
    const int submitted = io_uring_submit_and_wait(&ring_, count - taken);
    if (submitted < 0 && submitted != -EINTR && submitted != -EAGAIN && submitted != -EBUSY) {
      usable_ = false;
      return;
    }
    unsigned head = 0;
    unsigned seen = 0;
    io_uring_cqe* completion = nullptr;
    io_uring_for_each_cqe(&ring_, head, completion) {
      take(completion->user_data, completion->res);
      ++seen;
    }
    io_uring_cq_advance(&ring_, seen);
    taken += seen;
  }
}

void FileRing::OpenEach(int folder, std::span<const char* const> paths, int flags,
                        std::span<int> descriptors) {
  for (std::size_t i = 0; i < paths.size(); ++i) {
    io_uring_sqe* entry = io_uring_get_sqe(&ring_);
    io_uring_prep_openat(entry, folder, paths[i], flags, 0);
    io_uring_sqe_set_data64(entry, i);
    descriptors[i] = -ECANCELED;
  }
  Complete(static_cast<unsigned>(paths.size()),
           [&](std::uint64_t tag, int result) { descriptors[tag] = result; });
}

void FileRing::ReadAndClose(std::span<const int> descriptors,
                            std::span<const std::span<char>> buffers, std::span<int> results) {
  unsigned queued = 0;
  for (std::size_t i = 0; i < descriptors.size(); ++i) {
    results[i] = -EBADF;
    if (descriptors[i] < 0)
      continue;
    io_uring_sqe* read = io_uring_get_sqe(&ring_);
    io_uring_prep_read(read, descriptors[i], buffers[i].data(),
                       static_cast<unsigned>(buffers[i].size()), 0);
    // A hard link: the close follows also a short read, which a plain link would take for a
    // failure.
    read->flags |= IOSQE_IO_HARDLINK;
    io_uring_sqe_set_data64(read, i);
    io_uring_sqe* close = io_uring_get_sqe(&ring_);
    io_uring_prep_close(close, descriptors[i]);
    io_uring_sqe_set_data64(close, kCloseTag | i);
    queued += 2;
  }
  Complete(queued, [&](std::uint64_t tag, int result) {
    if ((tag & kCloseTag) == 0)
      results[tag] = result;
  });
}

}  // namespace paylark

#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "core/base/status.h"
#include "core/records/due_record.h"
#include "core/records/due_view.h"
#include "core/records/record_snapshot.h"

namespace paylark {

// One snapshot entry, decoded ahead of its mapping.
struct DecodedEntry {
  SnapshotEntry entry;
  DueView due;     // views into the entry's bytes and into `held`
  DueRecord held;  // the texts the bytes do not hold as UTF-8, and the payment details
  Status decoded;  // why the entry's bytes are not a record
};

// Reads and decodes a snapshot's entries in batches, in their order. A large snapshot is read on
// a thread of its own a batch ahead, so that decoding one batch and mapping the one before run on
// two cores; a small one is read whole, in one batch, when first asked for. One thread reads the
// whole snapshot, where the read of record files starts a thread per share: a batch of decoded
// records takes 800 KB, so batches stay small, and a million records make a thousand of them.
class SnapshotDecoder {
 public:
  static constexpr std::size_t kBatchSize = 1024;
  // Fewer entries than this are not worth a thread.
  static constexpr std::size_t kThreadedEntries = 4 * kBatchSize;

  // `seen` is told of every entry, in order, on the thread that reads them. The reader must
  // outlive the decoder and is read to its end (or its first fault) only through it.
  SnapshotDecoder(SnapshotReader& reader, std::function<void(const SnapshotEntry&)> seen);
  ~SnapshotDecoder();
  SnapshotDecoder(const SnapshotDecoder&) = delete;
  SnapshotDecoder& operator=(const SnapshotDecoder&) = delete;

  // The next batch; empty after the last entry. It lasts until the next call. Rethrows what
  // reading the batch threw (an allocation that failed).
  std::span<const DecodedEntry> Next();
  // How far into the snapshot's bytes the entries handed out so far reach.
  std::size_t BytesHandedOut() const { return handedOutBytes_; }

 private:
  struct Batch {
    std::vector<DecodedEntry> entries;  // room for a batch, never moved while it is read
    std::size_t count = 0;
    std::size_t bytesRead = 0;
    bool last = false;
    bool full = false;  // read and not yet handed back
    std::exception_ptr failure;
  };

  void Fill(Batch& batch);
  void ReadAhead(const std::stop_token& stop);
  std::span<const DecodedEntry> HandOut(Batch& batch);

  SnapshotReader& reader_;
  std::function<void(const SnapshotEntry&)> seen_;
  std::array<Batch, 2> batches_;
  std::size_t next_ = 0;  // the batch Next hands out next
  bool ended_ = false;
  std::size_t handedOutBytes_ = 0;
  Batch* handedOut_ = nullptr;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::jthread reading_;  // last: stopped and joined before the batches go
};

}  // namespace paylark

#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
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

// Reads and decodes a snapshot's entries, in their order. A large snapshot is read on a thread of
// its own, a batch at a time and a chunk of entries at a time, so that its entries can be taken as
// soon as they are read. Each chunk is decoded by whichever thread comes to it first: the caller's
// thread when it takes an entry of a chunk nobody has begun (right behind the reading), and the
// reading thread, once its batch is read, for the chunks the caller has not reached. So the two
// cores share the decoding as their other work allows, and neither waits for the other for long.
// A small snapshot is read on the caller's thread, a few chunks at a time as its entries are
// taken, into one small batch used again and again: a batch of decoded records takes 800 KB, and
// a command that looks at a few thousand records should not fault in megabytes for them. One
// thread reads the whole snapshot, where the read of record
// files starts a thread per share: a batch of decoded records takes 800 KB, so batches stay small,
// and a million records make a thousand of them.
class SnapshotDecoder {
 public:
  static constexpr std::size_t kBatchSize = 1024;
  // Fewer entries than this are not worth a thread.
  static constexpr std::size_t kThreadedEntries = 4 * kBatchSize;
  // Entries read or decoded at a time: few enough that a wait for a chunk stays short, enough
  // that the two threads seldom meet on a chunk.
  static constexpr std::size_t kChunkSize = 16;
  // Entries a small snapshot reads at a time.
  static constexpr std::size_t kSmallBatchSize = 8 * kChunkSize;

  // `seen` is told of every entry, in order, on the thread that reads them. The reader must
  // outlive the decoder and is read to its end (or its first fault) only through it.
  SnapshotDecoder(SnapshotReader& reader, std::function<void(const SnapshotEntry&)> seen);
  ~SnapshotDecoder();
  SnapshotDecoder(const SnapshotDecoder&) = delete;
  SnapshotDecoder& operator=(const SnapshotDecoder&) = delete;

  // The next entry, decoded, or null after the last one; it lasts until the next call at least.
  // Rethrows what reading or decoding it threw (an allocation that failed).
  const DecodedEntry* Next();
  // How far into the snapshot's bytes the chunks of the entries taken so far reach.
  std::size_t BytesHandedOut() const { return handedOutBytes_; }

 private:
  enum ChunkState : int { kUnread, kRead, kDecoded, kFailed };

  struct Chunk {
    std::atomic<int> state = kUnread;  // a ChunkState; the fields below are set before it
    std::size_t count = 0;             // entries; fewer than kChunkSize in the last chunk
    std::size_t bytesRead = 0;         // where the snapshot's bytes stand after its entries
  };

  struct Batch {
    std::vector<DecodedEntry> entries;  // room for whole chunks, never moved while it is read
    std::unique_ptr<Chunk[]> chunks;
    std::atomic<std::size_t> claimed = 0;  // chunks claimed for decoding, from the first on
    bool taken = false;  // begun by the reading thread and not yet handed back by the caller
    std::exception_ptr failure;  // what reading or decoding a chunk marked failed threw
  };

  void Prepare(Batch& batch, std::size_t entries);
  static std::size_t ChunksIn(const Batch& batch);
  std::size_t Read(Batch& batch, const std::stop_token& stop);
  void ReadAhead(const std::stop_token& stop);
  bool DecodeUnclaimed(Batch& batch, std::size_t chunks, const std::stop_token& stop);
  static void DecodeChunk(Batch& batch, std::size_t chunk);
  bool TakeChunk();
  void TakeBatch();
  void AwaitDecoded(Chunk& chunk);

  SnapshotReader& reader_;
  std::function<void(const SnapshotEntry&)> seen_;
  std::array<Batch, 2> batches_;
  std::size_t nextBatch_ = 0;   // the batch taken next
  Batch* batch_ = nullptr;      // the batch whose entries are being taken
  std::size_t chunk_ = 0;       // the chunk of it whose entries are being taken
  std::size_t taken_ = 0;       // entries of that chunk taken so far
  std::size_t chunkCount_ = 0;  // entries in that chunk
  bool ended_ = false;
  std::size_t handedOutBytes_ = 0;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::jthread reading_;  // last: stopped and joined before the batches go
};

}  // namespace paylark

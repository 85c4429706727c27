#include "core/records/snapshot_decoder.h"

#include <algorithm>
#include <utility>

#include "core/records/record_codec.h"

namespace paylark {
namespace {

std::size_t ChunksOf(std::size_t entries) {
  return (entries + SnapshotDecoder::kChunkSize - 1) / SnapshotDecoder::kChunkSize;
}

void Publish(std::atomic<int>& state, int value) {
  state.store(value, std::memory_order_release);
  state.notify_all();
}

}  // namespace

SnapshotDecoder::SnapshotDecoder(SnapshotReader& reader,
                                 std::function<void(const SnapshotEntry&)> seen)
    : reader_(reader), seen_(std::move(seen)) {
  if (reader_.size() < kThreadedEntries) {
    // Room for one entry more than the snapshot holds, where that is fewer, so that the last
    // chunk is short and tells where the entries end.
    Prepare(batches_[0], std::min(reader_.size() + 1, kSmallBatchSize));
    return;
  }
  for (Batch& batch : batches_)
    Prepare(batch, kBatchSize);
  reading_ = std::jthread([this](const std::stop_token& stop) { ReadAhead(stop); });
}

SnapshotDecoder::~SnapshotDecoder() {
  if (!reading_.joinable())
    return;
  reading_.request_stop();  // wakes the thread, which may wait for a batch handed back
  reading_.join();
}

void SnapshotDecoder::Prepare(Batch& batch, std::size_t entries) {
  batch.entries.resize(ChunksOf(entries) * kChunkSize);
  batch.chunks = std::make_unique<Chunk[]>(ChunksOf(entries));
}

std::size_t SnapshotDecoder::ChunksIn(const Batch& batch) {
  return batch.entries.size() / kChunkSize;
}

// Reads entries into the batch's chunks, each published as it is read, until the snapshot or the
// batch ends; gives how many chunks hold entries to decode.
std::size_t SnapshotDecoder::Read(Batch& batch, const std::stop_token& stop) {
  for (std::size_t index = 0; index < ChunksIn(batch); ++index) {
    if (stop.stop_requested())
      return index;
    Chunk& chunk = batch.chunks[index];
    DecodedEntry* const first = &batch.entries[index * kChunkSize];
    std::size_t count = 0;
    try {
      for (; count < kChunkSize && reader_.Next(first[count].entry); ++count)
        seen_(first[count].entry);
    } catch (...) {
      batch.failure = std::current_exception();
      Publish(chunk.state, kFailed);
      return index;
    }
    chunk.count = count;
    chunk.bytesRead = reader_.BytesRead();
    Publish(chunk.state, kRead);
    if (count < kChunkSize)
      return count > 0 ? index + 1 : index;
  }
  return ChunksIn(batch);
}

void SnapshotDecoder::ReadAhead(const std::stop_token& stop) {
  for (std::size_t index = 0;; index ^= 1) {
    Batch& batch = batches_[index];
    {
      std::unique_lock lock(mutex_);
      if (!changed_.wait(lock, stop, [&batch] { return !batch.taken; }))
        return;
      for (std::size_t chunk = 0; chunk < ChunksIn(batch); ++chunk)
        batch.chunks[chunk].state.store(kUnread, std::memory_order_relaxed);
      batch.claimed.store(0, std::memory_order_relaxed);
      batch.taken = true;
    }
    changed_.notify_all();
    const std::size_t read = Read(batch, stop);
    if (!DecodeUnclaimed(batch, read, stop) || read < ChunksIn(batch))
      return;
  }
}

// Decodes the chunks the caller has not claimed; false when stopped or a chunk failed. The batch
// stays taken until the caller has every entry, so it is not handed back meanwhile.
bool SnapshotDecoder::DecodeUnclaimed(Batch& batch, std::size_t chunks,
                                      const std::stop_token& stop) {
  while (!stop.stop_requested()) {
    const std::size_t chunk = batch.claimed.fetch_add(1, std::memory_order_relaxed);
    if (chunk >= chunks)
      return true;
    try {
      DecodeChunk(batch, chunk);
    } catch (...) {
      batch.failure = std::current_exception();
      Publish(batch.chunks[chunk].state, kFailed);
      return false;
    }
  }
  return false;
}

void SnapshotDecoder::DecodeChunk(Batch& batch, std::size_t chunk) {
  Chunk& decoded = batch.chunks[chunk];
  DecodedEntry* const first = &batch.entries[chunk * kChunkSize];
  for (std::size_t index = 0; index < decoded.count; ++index)
    first[index].decoded =
        ReadRecordView(first[index].entry.bytes, first[index].due, first[index].held);
  Publish(decoded.state, kDecoded);
}

const DecodedEntry* SnapshotDecoder::Next() {
  if (taken_ == chunkCount_ && !TakeChunk())
    return nullptr;
  return &batch_->entries[chunk_ * kChunkSize + taken_++];
}

// Moves to the next chunk and sees it decoded; false after the last entry.
bool SnapshotDecoder::TakeChunk() {
  if (ended_)
    return false;
  if (batch_ == nullptr || ++chunk_ == ChunksIn(*batch_)) {
    TakeBatch();
    chunk_ = 0;
  }
  Chunk& chunk = batch_->chunks[chunk_];
  ended_ = true;  // until the chunk is known to hold a whole chunk's entries
  AwaitDecoded(chunk);
  taken_ = 0;
  chunkCount_ = chunk.count;
  handedOutBytes_ = chunk.bytesRead;
  ended_ = chunk.count < kChunkSize;
  return chunk.count > 0;
}

void SnapshotDecoder::TakeBatch() {
  if (!reading_.joinable()) {
    batch_ = &batches_[0];
    batch_->claimed.store(0, std::memory_order_relaxed);
    (void)Read(*batch_, {});
    return;
  }
  if (batch_ != nullptr) {
    {
      const std::lock_guard lock(mutex_);
      batch_->taken = false;
    }
    changed_.notify_all();
  }
  Batch& batch = batches_[nextBatch_];
  nextBatch_ ^= 1;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&batch] { return batch.taken; });
  }
  batch_ = &batch;
}

// Waits for the chunk to be read, then decodes it here unless the reading thread has claimed it,
// in which case it waits for that thread's decoding.
void SnapshotDecoder::AwaitDecoded(Chunk& chunk) {
  int state = chunk.state.load(std::memory_order_acquire);
  while (state == kUnread) {
    chunk.state.wait(kUnread, std::memory_order_acquire);
    state = chunk.state.load(std::memory_order_acquire);
  }
  if (state == kRead && chunk.count > 0) {
    // Every chunk before this one is decoded, so this one is the next to claim unless the
    // reading thread has claimed it.
    std::size_t unclaimed = chunk_;
    if (batch_->claimed.compare_exchange_strong(unclaimed, chunk_ + 1, std::memory_order_relaxed)) {
      DecodeChunk(*batch_, chunk_);
      return;
    }
    chunk.state.wait(kRead, std::memory_order_acquire);
    state = chunk.state.load(std::memory_order_acquire);
  }
  if (state == kFailed)
    std::rethrow_exception(batch_->failure);
}

}  // namespace paylark

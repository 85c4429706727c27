#include "core/records/snapshot_decoder.h"

#include <utility>

#include "core/records/record_codec.h"

namespace paylark {

SnapshotDecoder::SnapshotDecoder(SnapshotReader& reader,
                                 std::function<void(const SnapshotEntry&)> seen)
    : reader_(reader), seen_(std::move(seen)) {
  if (reader_.size() < kThreadedEntries) {
    // A small snapshot's entries all fit one batch, and it alone is used.
    batches_[0].entries.resize(reader_.size());
    return;
  }
  for (Batch& batch : batches_)
    batch.entries.resize(kBatchSize);
  reading_ = std::jthread([this](const std::stop_token& stop) { ReadAhead(stop); });
}

SnapshotDecoder::~SnapshotDecoder() {
  if (!reading_.joinable())
    return;
  reading_.request_stop();  // wakes the thread, which may wait for a batch handed out
  reading_.join();
}

void SnapshotDecoder::Fill(Batch& batch) {
  batch.count = 0;
  bool ended = batch.entries.empty();
  try {
    while (!ended && batch.count < batch.entries.size()) {
      DecodedEntry& decoded = batch.entries[batch.count];
      ended = !reader_.Next(decoded.entry);
      if (ended)
        break;
      seen_(decoded.entry);
      decoded.decoded = ReadRecordView(decoded.entry.bytes, decoded.due, decoded.held);
      ++batch.count;
    }
  } catch (...) {
    batch.failure = std::current_exception();
    ended = true;
  }
  batch.last = ended;
  batch.bytesRead = reader_.BytesRead();
}

void SnapshotDecoder::ReadAhead(const std::stop_token& stop) {
  for (std::size_t index = 0;; index ^= 1) {
    Batch& batch = batches_[index];
    {
      std::unique_lock lock(mutex_);
      if (!changed_.wait(lock, stop, [&batch] { return !batch.full; }))
        return;
    }
    Fill(batch);
    const bool last = batch.last;
    {
      const std::lock_guard lock(mutex_);
      batch.full = true;
    }
    changed_.notify_all();
    if (last)
      return;
  }
}

std::span<const DecodedEntry> SnapshotDecoder::Next() {
  if (!reading_.joinable()) {
    if (ended_)
      return {};
    Fill(batches_[0]);
    return HandOut(batches_[0]);
  }
  if (handedOut_) {
    {
      const std::lock_guard lock(mutex_);
      handedOut_->full = false;
    }
    changed_.notify_all();
    handedOut_ = nullptr;
  }
  if (ended_)
    return {};
  Batch& batch = batches_[next_];
  next_ ^= 1;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&batch] { return batch.full; });
  }
  handedOut_ = &batch;
  return HandOut(batch);
}

std::span<const DecodedEntry> SnapshotDecoder::HandOut(Batch& batch) {
  if (batch.failure)
    std::rethrow_exception(std::exchange(batch.failure, nullptr));
  ended_ = batch.last;
  handedOutBytes_ = batch.bytesRead;
  return {batch.entries.data(), batch.count};
}

}  // namespace paylark

// A snapshot's entries come out of the decoder whole and in their order, whether a thread reads
// them ahead or not, and a failure on that thread reaches the caller instead of ending the program.
#include "core/records/snapshot_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "core/records/record_codec.h"

namespace paylark {
namespace {

constexpr char kRecords[] = "/home/user/Paylark Files";

// A snapshot of `count` records; the one at `damaged` holds bytes that are no record.
class SnapshotOf {
 public:
  SnapshotOf(std::size_t count, std::size_t damaged) {
    for (std::size_t n = 0; n < count; ++n) {
      char id[32];
      std::snprintf(id, sizeof id, "20260101%08zu", n);
      DueRecord record;
      record.recordId = id;
      record.title = "Due " + std::to_string(n);
      names_.push_back(std::string("duedate") + id + ".due");
      bytes_.push_back(n == damaged ? std::string("no record") : EncodeRecord(record));
    }
    std::vector<SnapshotEntry> entries;
    for (std::size_t n = 0; n < count; ++n)
      entries.push_back({names_[n], n + 1, 1'700'000'000, bytes_[n]});
    encoded_ = EncodeSnapshot(kRecords, entries);
  }

  SnapshotReader Reader() const { return SnapshotReader::Open(encoded_, kRecords).value(); }
  std::size_t size() const { return encoded_.size(); }

 private:
  std::vector<std::string> names_;
  std::vector<std::string> bytes_;
  std::string encoded_;
};

// What the decoder handed out of one entry.
struct Taken {
  std::string name;
  bool decoded = false;
  std::string title;
};

// Every entry, until the decoder has no more; `seen` hears of each.
std::vector<Taken> DecodeAll(SnapshotReader& reader, std::vector<std::string>& seen,
                             std::size_t& bytesHandedOut) {
  std::vector<Taken> taken;
  SnapshotDecoder decoder(reader,
                          [&seen](const SnapshotEntry& entry) { seen.emplace_back(entry.name); });
  while (const DecodedEntry* entry = decoder.Next())
    taken.push_back(
        {std::string(entry->entry.name), entry->decoded.ok(), std::string(entry->due.title)});
  EXPECT_EQ(decoder.Next(), nullptr);
  bytesHandedOut = decoder.BytesHandedOut();
  return taken;
}

TEST(SnapshotDecoderTest, EntriesComeWholeAndInOrderWithOrWithoutTheReadingThread) {
  // Small and large, ending inside a chunk, at the end of one and at the end of a small batch.
  constexpr std::size_t kSmall = SnapshotDecoder::kSmallBatchSize;
  for (const std::size_t count :
       {std::size_t{10}, std::size_t{32}, kSmall, 2 * kSmall + 5, SnapshotDecoder::kThreadedEntries,
        SnapshotDecoder::kThreadedEntries + 5}) {
    SCOPED_TRACE(count);
    const std::size_t damaged = count / 2;
    const SnapshotOf snapshot(count, damaged);
    SnapshotReader reader = snapshot.Reader();
    std::vector<std::string> seen;
    std::size_t bytesHandedOut = 0;
    const std::vector<Taken> taken = DecodeAll(reader, seen, bytesHandedOut);
    ASSERT_EQ(taken.size(), count);
    for (std::size_t n = 0; n < count; ++n) {
      EXPECT_EQ(taken[n].name, seen[n]);
      EXPECT_EQ(taken[n].decoded, n != damaged) << taken[n].name;
      EXPECT_TRUE(!taken[n].decoded || taken[n].title == "Due " + std::to_string(n)) << n;
    }
    EXPECT_EQ(taken.front().name, "duedate2026010100000000.due");
    EXPECT_EQ(bytesHandedOut, snapshot.size());
    EXPECT_TRUE(reader.Finish().ok());
  }
}

// How many entries the decoder hands out before it throws bad_alloc; SIZE_MAX if it does not.
std::size_t TakenBeforeAllocationFailure(SnapshotDecoder& decoder) {
  std::size_t taken = 0;
  try {
    while (decoder.Next() != nullptr)
      ++taken;
  } catch (const std::bad_alloc&) {
    return taken;
  }
  return SIZE_MAX;
}

TEST(SnapshotDecoderTest, AFailureWhileReadingReachesTheCallerAfterTheChunksBefore) {
  // Read when first asked for, in the first small batch and a later one, and read on a thread of
  // its own.
  constexpr std::size_t kSmall = SnapshotDecoder::kSmallBatchSize;
  for (const std::size_t count :
       {std::size_t{40}, 3 * kSmall, SnapshotDecoder::kThreadedEntries + 5}) {
    SCOPED_TRACE(count);
    const std::size_t failing = count < kSmall ? SnapshotDecoder::kChunkSize + 3
                                : count < SnapshotDecoder::kThreadedEntries
                                    ? 2 * kSmall + 3
                                    : 2 * SnapshotDecoder::kBatchSize + 3;
    const SnapshotOf snapshot(count, SIZE_MAX);
    SnapshotReader reader = snapshot.Reader();
    std::size_t seen = 0;
    SnapshotDecoder decoder(reader, [&seen, failing](const SnapshotEntry&) {
      if (++seen == failing)
        throw std::bad_alloc();
    });
    const std::size_t handedOut = TakenBeforeAllocationFailure(decoder);
    // The failing chunk's entries are not handed out, and nothing follows them.
    EXPECT_EQ(handedOut, failing / SnapshotDecoder::kChunkSize * SnapshotDecoder::kChunkSize);
    EXPECT_EQ(decoder.Next(), nullptr);
  }
}

// A caller that stops after the first entry (a mapping that failed) does not wait for the rest.
TEST(SnapshotDecoderTest, ACallerMayStopBeforeTheLastBatch) {
  const SnapshotOf snapshot(SnapshotDecoder::kThreadedEntries + 5, SIZE_MAX);
  SnapshotReader reader = snapshot.Reader();
  SnapshotDecoder decoder(reader, [](const SnapshotEntry&) {});
  ASSERT_NE(decoder.Next(), nullptr);
}

}  // namespace
}  // namespace paylark

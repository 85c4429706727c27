#pragma once

#include <cstddef>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/base/text_hash.h"
#include "core/records/due_map.h"
#include "core/records/due_record.h"
#include "core/records/due_view.h"
#include "core/records/series_index.h"

namespace paylark {

struct SkippedFile {
  std::string fileName;
  std::string reason;
};

// The record map and what is kept beside it: the file each record was read from, the series'
// sizes and their members' order by due date.
class RecordIndex {
 public:
  // kKnownNew: the caller knows the map does not hold the ID.
  enum class IdCheck { kLookUp, kKnownNew };

  const DueMap& map() const { return map_; }
  bool Contains(const std::string& recordId) const { return map_.Contains(recordId); }
  // The file the record was read from: "duedate<ID>.due", or the other name that holds it.
  std::string FileNameOf(const std::string& recordId) const;
  // The IDs of the series' records, in map order.
  std::vector<std::string> SeriesMembers(const std::string& seriesId) const;
  // Where the record stands among its series' members by due date; null outside a series or
  // for an unknown ID. Costs no visit of the other records.
  std::optional<SeriesPosition> SeriesPositionOf(const std::string& recordId) const;
  // Whether a record carries the series ID, or it was reserved.
  bool HasSeries(std::string_view seriesId) const { return seriesSizes_.contains(seriesId); }
  // Keeps the series ID from being given again although no record carries it yet.
  void ReserveSeries(const std::string& seriesId) {
    AwaitReader();
    seriesSizes_.emplace(seriesId, 0);
  }

  // Maps a record read from the file, unless another file already owns its ID: of two files
  // holding one ID the later name in byte order, the one a load reads last, owns it. The file
  // that loses is listed in `skipped` as a duplicate and never acted on; one that does not fit is
  // listed too.
  void Adopt(std::string_view fileName, const DueRecord& record, std::vector<SkippedFile>& skipped);
  // The same for a record viewed in its file's bytes, with its payment details in `held`.
  void Adopt(std::string_view fileName, const DueView& due, const DueRecord& held,
             std::vector<SkippedFile>& skipped, IdCheck check);
  // Whether the record fits the map: its texts take at most what is left of 4 GiB.
  bool HasRoomFor(const DueRecord& record);
  // Maps a record written under its own file name; only one that HasRoomFor accepts.
  void Set(const DueRecord& record);
  void Forget(const std::string& recordId);
  void Clear();
  // A load appends its records: room for them first, and the month index after them.
  void Reserve(std::size_t records) {
    AwaitReader();
    map_.Reserve(records);
  }
  void FinishAppending();

  // The index as it lies in memory, for a start that copies it back: after FinishAppending.
  void WriteImage(MapImageWriter& image) const;
  // Replaces the index by the image's; false for a damaged image, the index then empty.
  [[nodiscard]] bool ReadImage(MapImageReader& image);
  // Another thread reads the index until `reading` is ready (the image written behind a load):
  // every change waits for it first.
  void LendUntil(std::shared_future<void> reading) { reader_ = std::move(reading); }

 private:
  void AwaitReader();
  // Remembers the file a record was read from when it is not named after the record.
  void NoteOwner(std::string_view fileName, std::string_view recordId);
  void TrackSeries(const std::optional<DueRecord>& before, const DueView* after);
  // The series' sizes and the other owners' files.
  bool ReadImageBeside(MapImageReader& image);

  DueMap map_;
  // Members by series ID; looked up by views too.
  std::unordered_map<std::string, std::size_t, TextHash, std::equal_to<>> seriesSizes_;
  // Records read from a file not named after their ID ("duedate<ID>.DUE", a renamed file), by
  // ID: changes and deletions act on that file.
  std::unordered_map<std::string, std::string> ownerFiles_;
  SeriesIndex seriesOrder_;
  std::string extension_;  // scratch of Adopt: the encoded extension block
  std::shared_future<void> reader_;
};

}  // namespace paylark

#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/records/due_record.h"
#include "core/records/due_view.h"
#include "core/records/record_files.h"

namespace paylark {

// One record file to load: from bytes the snapshot holds, or read from the records folder.
struct LoadJob {
  std::string_view name;
  bool cached = false;
  std::string_view cachedBytes;
  std::string readBytes;                           // the file's bytes, when it was read
  FileInfo readInfo;                               // the file read (or found too large to read)
  bool unread = false;                             // it could not be read (status tells why)
  Status status = Status::NotFound("not loaded");  // why it was not read or not decoded
  // The decoded record: a view into the bytes and into `held`, which holds what the bytes do not
  // hold as they are.
  DueView record;
  DueRecord held;
  bool namedAfterRecord = false;  // the file's name is the one its record's ID gives

  std::string_view bytes() const { return cached ? cachedBytes : std::string_view(readBytes); }
};

// Jobs a caller hands over at once: few enough to hold, many enough to keep the readers busy.
inline constexpr std::size_t kLoadShare = 16384;

// Reads and decodes the jobs, several files in flight. The folder's file system must allow
// concurrent reads.
void RunLoadJobs(const RecordFolder& folder, std::span<LoadJob> jobs);

}  // namespace paylark

#pragma once

#include <filesystem>

#include "core/base/clock.h"
#include "core/records/record_store.h"
#include "tests/support/scratch_folder.h"

namespace paylark::testing {

// A loaded record store whose working directory is a fresh scratch folder, removed with it. Its
// writes are not flushed to the disk: nothing a test writes has to outlive a power cut.
class ScratchStore {
 public:
  explicit ScratchStore(const Clock& clock);
  ScratchStore(const ScratchStore&) = delete;
  ScratchStore& operator=(const ScratchStore&) = delete;

  RecordStore& store() { return store_; }
  const RecordStore& store() const { return store_; }
  // The working directory; the records are in its "Paylark Files" folder.
  const std::filesystem::path& path() const { return folder_.path(); }

 private:
  ScratchFolder folder_;
  RecordStore store_;
};

}  // namespace paylark::testing

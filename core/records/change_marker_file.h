#pragma once

#include <utility>

#include "core/base/status.h"
#include "core/records/record_files.h"

namespace paylark {

// The change marker "preferences.alm", rewritten after every change so that others watching the
// records folder notice one; inside a batch of changes it is rewritten once, at the batch's end.
// A marker that could not be rewritten does not undo the change: the failure waits to be taken.
class ChangeMarkerFile {
 public:
  void BeginBatch() { ++batchDepth_; }
  void EndBatch(RecordFolder* folder);
  // Rewrites the marker in the folder, or at the batch's end; without a folder it fails.
  void Touch(RecordFolder* folder);
  Status TakeFailure() { return std::exchange(failure_, Status::Ok()); }

  // The marker's bytes, as a whole replacement of the record files writes them too.
  static std::string_view Bytes();

 private:
  int batchDepth_ = 0;
  bool pending_ = false;  // changed inside a batch: the marker is written once, at its end
  Status failure_;
};

}  // namespace paylark

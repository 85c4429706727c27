#include "core/records/change_marker_file.h"

namespace paylark {
namespace {

constexpr char kMarkerBytes[8] = {1, 0, 0, 0, 1, 0, 0, 0};

}  // namespace

std::string_view ChangeMarkerFile::Bytes() {
  return {kMarkerBytes, sizeof kMarkerBytes};
}

void ChangeMarkerFile::EndBatch(RecordFolder* folder) {
  if (batchDepth_ > 0)
    --batchDepth_;
  if (batchDepth_ == 0 && std::exchange(pending_, false))
    Touch(folder);
}

void ChangeMarkerFile::Touch(RecordFolder* folder) {
  if (batchDepth_ > 0) {
    pending_ = true;
    return;
  }
  Status status = folder ? folder->Replace(kMarkerFileName, Bytes())
                         : Status::IoError("no working directory is set");
  if (!status.ok())
    failure_ = std::move(status);
}

}  // namespace paylark

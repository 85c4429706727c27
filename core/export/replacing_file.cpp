#include "core/export/replacing_file.h"

#include <random>
#include <utility>

#include "core/base/messages.h"
#include "core/records/record_files.h"

namespace paylark {
namespace {

std::string RandomSuffix() {
  static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  std::string suffix;
  for (int i = 0; i < 8; ++i)
    suffix += kLetters[pick(device)];
  return suffix;
}

Status WriteFailure(const std::string& path, const Status& status) {
  return Status::IoError(MessageText({MessageId::kFileWriteFailed, path, 0, status.message()}));
}

}  // namespace

Result<ReplacingFile> ReplacingFile::Create(std::string targetPath, FileSystem& files) {
  std::string folder = ParentFolder(targetPath);
  if (folder.empty())
    folder = ".";
  const Result<FileInfo> place = files.Inspect(folder);
  if (!place.ok())
    return WriteFailure(targetPath, place.status());
  if (place.value().kind != FileKind::kFolder || !place.value().writable) {
    return WriteFailure(
        targetPath, Status::IoError(place.value().kind == FileKind::kFolder ? "Permission denied"
                                                                            : "Not a directory"));
  }
  const Result<FileInfo> target = files.Inspect(targetPath);
  const int mode = target.ok() ? target.value().mode : NewFileMode();
  std::string temporary = folder + "/" + std::string(kTempFilePrefix) +
                          std::to_string(files.ProcessId()) + "-" + RandomSuffix() + ".tmp";
  return ReplacingFile(files, std::move(targetPath), std::move(temporary), mode);
}

ReplacingFile::ReplacingFile(FileSystem& files, std::string targetPath, std::string temporaryPath,
                             int mode)
    : files_(&files),
      targetPath_(std::move(targetPath)),
      temporaryPath_(std::move(temporaryPath)),
      mode_(mode) {}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : files_(other.files_),
      targetPath_(std::move(other.targetPath_)),
      temporaryPath_(std::move(other.temporaryPath_)),
      mode_(other.mode_),
      content_(std::move(other.content_)),
      written_(other.written_),
      committed_(std::exchange(other.committed_, true)) {}

ReplacingFile::~ReplacingFile() {
  // A writer by name may have left the temporary file; nothing there is no error.
  if (!committed_)
    (void)files_->Remove(temporaryPath_);
}

Status ReplacingFile::Failure(const Status& status) const {
  return WriteFailure(targetPath_, status);
}

Status ReplacingFile::Write(std::string_view bytes) {
  content_.append(bytes);
  written_ = true;
  return Status::Ok();
}

Status ReplacingFile::Commit() {
  if (written_) {
    if (Status status = files_->Write(temporaryPath_, content_, mode_); !status.ok())
      return Failure(status);
  }
  if (Status status = files_->SyncData({temporaryPath_}); !status.ok())
    return Failure(status);
  if (Status status = files_->Rename(temporaryPath_, targetPath_, Placement::kReplace);
      !status.ok())
    return Failure(status);
  committed_ = true;
  // The file is complete at its place; a folder whose entry is not yet durable loses nothing
  // but the newest name after a crash, which is no reason to call the export failed.
  (void)files_->SyncFolder(ParentFolder(targetPath_).empty() ? "." : ParentFolder(targetPath_));
  return Status::Ok();
}

}  // namespace paylark

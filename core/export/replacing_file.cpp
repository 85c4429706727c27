#include "core/export/replacing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

#include "core/base/messages.h"
#include "core/records/record_files.h"

namespace paylark {
namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  if (slash == 0)
    return "/";
  return path.substr(0, slash);
}

std::string RandomSuffix() {
  static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  std::string suffix;
  for (int i = 0; i < 8; ++i)
    suffix += kLetters[pick(device)];
  return suffix;
}

}  // namespace

Result<ReplacingFile> ReplacingFile::Create(std::string targetPath) {
  const std::string folder = FolderOf(targetPath);
  int error = 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::string temporary = folder + "/" + std::string(kTempFilePrefix) + RandomSuffix() + ".tmp";
    // 0666 lets the umask decide, as for any new document the user saves.
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      return ReplacingFile(std::move(targetPath), std::move(temporary), descriptor);
    }
    error = errno;
    if (error != EEXIST)
      break;
  }
  return Status::IoError(MessageText(
      {MessageId::kFileWriteFailed, targetPath, 0, std::generic_category().message(error)}));
}

ReplacingFile::ReplacingFile(std::string targetPath, std::string temporaryPath, int descriptor)
    : targetPath_(std::move(targetPath)),
      temporaryPath_(std::move(temporaryPath)),
      descriptor_(descriptor) {}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : targetPath_(std::move(other.targetPath_)),
      temporaryPath_(std::move(other.temporaryPath_)),
      descriptor_(std::exchange(other.descriptor_, -1)),
      committed_(std::exchange(other.committed_, true)) {}

ReplacingFile::~ReplacingFile() {
  if (descriptor_ >= 0)
    close(descriptor_);
  if (!committed_)
    unlink(temporaryPath_.c_str());
}

Status ReplacingFile::Failure(std::string_view path, int error) const {
  return Status::IoError(MessageText(
      {MessageId::kFileWriteFailed, std::string(path), 0, std::generic_category().message(error)}));
}

Status ReplacingFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return Failure(targetPath_, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return Status::Ok();
}

Status ReplacingFile::Commit() {
  // The descriptor flushes the file's data whichever handle wrote it.
  if (fdatasync(descriptor_) != 0)
    return Failure(targetPath_, errno);
  const int closed = close(std::exchange(descriptor_, -1));
  if (closed != 0)
    return Failure(targetPath_, errno);
  if (rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
    return Failure(targetPath_, errno);
  }
  committed_ = true;
  return Status::Ok();
}

}  // namespace paylark

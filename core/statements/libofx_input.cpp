#include "core/statements/libofx_input.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "core/io/file_system.h"
#include "core/statements/libofx_folder.h"

namespace paylark {
namespace {

// The whole of the bytes into the descriptor; false on any failure.
bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

LibofxInput::~LibofxInput() {
  if (descriptor_ >= 0)
    ::close(descriptor_);
  else
    (void)SystemFileSystem().Remove(path_);
}

Result<std::unique_ptr<LibofxInput>> LibofxInput::Write(std::string_view bytes) {
  const int descriptor = ::memfd_create("paylark-ofx", MFD_CLOEXEC);
  if (descriptor < 0)
    return WriteScratchFile(bytes);
  if (!WriteAll(descriptor, bytes)) {
    const std::string reason = std::strerror(errno);
    ::close(descriptor);
    return Status::IoError("The statement could not be held in memory for LibOFX: " + reason);
  }
  return std::unique_ptr<LibofxInput>(new LibofxInput(
      Kind::kMemoryFile, "/proc/self/fd/" + std::to_string(descriptor), descriptor));
}

Result<std::unique_ptr<LibofxInput>> LibofxInput::WriteScratchFile(std::string_view bytes) {
  const std::string prefix = JoinPath(TemporaryFolder(), kLibofxTemporaryPrefix) +
                             std::to_string(SystemFileSystem().ProcessId()) + "-";
  std::random_device random;
  Status written;
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::string path = prefix + std::to_string(random());
    written = SystemFileSystem().Write(path, bytes, 0600);
    if (written.ok())
      return std::unique_ptr<LibofxInput>(new LibofxInput(Kind::kScratchFile, std::move(path), -1));
    if (written.code() != StatusCode::kAlreadyExists)
      break;
  }
  return Status::IoError("A scratch copy of the statement could not be written: " +
                         written.message());
}

}  // namespace paylark

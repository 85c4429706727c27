#include "core/records/file_system.h"

#include <cerrno>
#include <cstring>

namespace paylark {

Status ErrnoStatus(int error) {
  if (error == ENOENT)
    return Status::NotFound(std::strerror(error));
  if (error == EEXIST)
    return Status::AlreadyExists(std::strerror(error));
  return Status::IoError(std::strerror(error));
}

std::string ParentFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace paylark

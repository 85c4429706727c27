#include "core/io/beneath_path.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace paylark {

int OpenNoFollow(int folder, const char* name, int flags) {
  const int fd = openat(folder, name, flags | O_NOFOLLOW | O_CLOEXEC);
  struct stat st;
  if (fd < 0 && errno == ENOTDIR && fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(st.st_mode))
    errno = ELOOP;
  return fd;
}

int OpenBeneath(int root, const char* relative, int flags) {
  open_how how{};
  how.flags = static_cast<std::uint64_t>(flags | O_CLOEXEC);
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
  const long fd = syscall(SYS_openat2, root, relative, &how, sizeof how);
  // Kernels before 5.6 have no openat2; a sandbox may refuse it as unknown.
  if (fd < 0 && (errno == ENOSYS || errno == E2BIG))
    return OpenStepByStep(root, relative, flags);
  return static_cast<int>(fd);
}

int OpenStepByStep(int root, const char* relative, int flags) {
  std::string_view rest = relative;
  int folder = root;
  const auto leave = [&folder, root](int result) {
    const int error = errno;
    if (folder != root)
      close(folder);
    errno = error;
    return result;
  };
  for (;;) {
    const std::size_t slash = rest.find('/');
    const std::string step(rest.substr(0, slash));
    if (step == "..") {
      errno = EXDEV;
      return leave(-1);
    }
    if (slash == std::string_view::npos) {
      const char* name = step.empty() ? "." : step.c_str();
      return leave(OpenNoFollow(folder, name, flags));
    }
    rest.remove_prefix(slash + 1);
    if (step.empty() || step == ".")
      continue;
    const int next = OpenNoFollow(folder, step.c_str(), O_RDONLY | O_DIRECTORY);
    if (next < 0)
      return leave(-1);
    leave(0);
    folder = next;
  }
}

}  // namespace paylark

#include "core/sync/folder_snapshot.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace paylark {

FolderSnapshot FolderSnapshot::Take(const std::string& folder) {
  FolderSnapshot snapshot;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir)
    return snapshot;
  const int descriptor = dirfd(dir.get());
  while (const dirent* entry = readdir(dir.get())) {
    struct stat st;
    if (fstatat(descriptor, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
      continue;
    // The change time moves on every write and rename, even when the modification time is
    // carried over from another device.
    snapshot.files_.emplace(entry->d_name,
                            Stamp{st.st_size, st.st_ctim.tv_sec, st.st_ctim.tv_nsec, st.st_ino});
  }
  return snapshot;
}

std::vector<std::string> FolderSnapshot::ChangedSince(const FolderSnapshot& before) const {
  std::vector<std::string> changed;
  auto old = before.files_.begin();
  auto now = files_.begin();
  while (old != before.files_.end() || now != files_.end()) {
    if (now == files_.end() || (old != before.files_.end() && old->first < now->first)) {
      changed.push_back((old++)->first);
    } else if (old == before.files_.end() || now->first < old->first) {
      changed.push_back((now++)->first);
    } else {
      if (!(old->second == now->second))
        changed.push_back(now->first);
      ++old;
      ++now;
    }
  }
  return changed;
}

}  // namespace paylark

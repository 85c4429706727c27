#include "core/statements/libofx_folder.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace paylark {
namespace {

// The process ID in "paylark-ofx-<ID>-<random>"; 0 for none.
int WriterOf(std::string_view name) {
  if (!name.starts_with(kLibofxTemporaryPrefix))
    return 0;
  name.remove_prefix(kLibofxTemporaryPrefix.size());
  int processId = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), processId);
  return error == std::errc() && end != name.data() + name.size() && *end == '-' ? processId : 0;
}

// Removes the folder and the files in it; LibOFX makes no folders of its own.
void RemoveFolderAndFiles(FileSystem& files, const std::string& folder) {
  Result<std::vector<FolderEntry>> entries = files.List(folder);
  for (const FolderEntry& entry : entries.ok() ? entries.value() : std::vector<FolderEntry>{})
    (void)files.Remove(folder + "/" + entry.name);
  (void)files.RemoveFolder(folder);
}

// Points TMPDIR to the folder, giving what it was. glibc never frees an environment it replaced,
// so a thread reading TMPDIR meanwhile reads the old or the new value.
std::optional<std::string> PointTemporaryFolderTo(const std::string& folder) {
  std::optional<std::string> saved;
  if (const char* was = std::getenv("TMPDIR"))
    saved = was;
  setenv("TMPDIR", folder.c_str(), 1);
  return saved;
}

}  // namespace

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder && *folder ? folder : "/tmp";
}

void RemoveStaleLibofxFiles(FileSystem& files, const std::string& temporaryFolder) {
  Result<std::vector<FolderEntry>> entries = files.List(temporaryFolder);
  if (!entries.ok())
    return;
  for (const FolderEntry& entry : entries.value()) {
    const int writer = WriterOf(entry.name);
    if (writer == 0 || writer == files.ProcessId() || files.ProcessRunning(writer))
      continue;
    const std::string path = JoinPath(temporaryFolder, entry.name);
    if (entry.info.kind == FileKind::kFolder)
      RemoveFolderAndFiles(files, path);
    else if (entry.info.kind == FileKind::kRegular)
      (void)files.Remove(path);
  }
}

Result<std::unique_ptr<LibofxFolder>> LibofxFolder::Make(FileSystem& files) {
  const std::string temporary = TemporaryFolder();
  RemoveStaleLibofxFiles(files, temporary);
  const std::string prefix =
      JoinPath(temporary, kLibofxTemporaryPrefix) + std::to_string(files.ProcessId()) + "-";
  std::random_device random;
  // A random name that no other user can have made first; one that is there is passed over.
  for (int attempt = 0; attempt < 8; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", random());
    const std::string path = prefix + suffix;
    if (files.Inspect(path).ok())
      continue;
    if (Status made = files.CreateFolder(path); !made.ok()) {
      return Status::IoError(
          "A folder for LibOFX's copies of the statement could not be made in \"" + temporary +
          "\": " + made.message());
    }
    return std::unique_ptr<LibofxFolder>(
        new LibofxFolder(files, path, PointTemporaryFolderTo(path)));
  }
  return Status::IoError("A folder for LibOFX's copies of the statement could not be made in \"" +
                         temporary + "\": every name tried was taken");
}

LibofxFolder::~LibofxFolder() {
  if (savedTemporary_)
    setenv("TMPDIR", savedTemporary_->c_str(), 1);
  else
    unsetenv("TMPDIR");
  RemoveFolderAndFiles(files_, path_);
}

}  // namespace paylark

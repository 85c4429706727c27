#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace paylark::testing {

// A fresh, empty folder under the system's temporary folder, removed with everything in it on
// destruction. Every test and benchmark that needs files on disk works in one of these.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }
  // The names of the entries directly inside, sorted.
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path path_;
};

// The file's bytes; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& path);
// Every file directly inside the folder, by name, with its bytes.
std::map<std::string, std::string> FolderBytes(const std::filesystem::path& folder);

}  // namespace paylark::testing

#pragma once

#include <filesystem>
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

}  // namespace paylark::testing

#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace paylark::testing {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the built paylark-cli with the given arguments and environment additions
// ("NAME=value"), under LC_ALL=en_US.UTF-8 unless the additions say otherwise.
CliResult RunCli(const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment = {});

// A fresh working directory under the system's temporary folder, removed on destruction.
class TemporaryWorkingDirectory {
 public:
  TemporaryWorkingDirectory();
  ~TemporaryWorkingDirectory();
  TemporaryWorkingDirectory(const TemporaryWorkingDirectory&) = delete;
  TemporaryWorkingDirectory& operator=(const TemporaryWorkingDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path records() const { return path_ / "Paylark Files"; }
  // paylark-cli --dir <this> followed by the arguments.
  CliResult Run(std::vector<std::string> arguments,
                const std::vector<std::string>& environment = {}) const;

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
std::vector<std::string> Lines(const std::string& text);

}  // namespace paylark::testing

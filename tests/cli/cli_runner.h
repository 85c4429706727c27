#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

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

// A fresh working directory in a scratch folder.
class TemporaryWorkingDirectory {
 public:
  const std::filesystem::path& path() const { return folder_.path(); }
  std::filesystem::path records() const { return path() / "Paylark Files"; }
  // The record files in the records folder; none when there is no such folder.
  std::size_t DueFiles() const;
  // paylark-cli --dir <this> followed by the arguments.
  CliResult Run(std::vector<std::string> arguments,
                const std::vector<std::string>& environment = {}) const;

 private:
  ScratchFolder folder_;
};

std::string ReadFile(const std::filesystem::path& path);
std::vector<std::string> Lines(const std::string& text);

}  // namespace paylark::testing

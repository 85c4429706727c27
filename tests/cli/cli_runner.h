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

// Whether libfaketime is installed; the tests that fix the clock are skipped without it.
bool HasFaketime();
// Environment additions that run paylark-cli at the given moment ("2026-12-06 12:00:00" in its
// TZ) under libfaketime, followed by `more`.
std::vector<std::string> FaketimeAt(const std::string& moment, std::vector<std::string> more = {});

// A fresh working directory in a scratch folder.
class TemporaryWorkingDirectory {
 public:
  const std::filesystem::path& path() const { return folder_.path(); }
  std::filesystem::path records() const { return path() / "Paylark Files"; }
  // The files of the records folder with the given extension; none when there is no such folder.
  std::size_t Files(const std::string& extension) const;
  // paylark-cli --dir <this> followed by the arguments, with settings and backups in this folder.
  CliResult Run(std::vector<std::string> arguments,
                const std::vector<std::string>& environment = {}) const;

 private:
  ScratchFolder folder_;
};

std::vector<std::string> Lines(const std::string& text);

}  // namespace paylark::testing

#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/base/ole_date_time.h"
#include "tests/support/scratch_folder.h"

namespace paylark {

// The test statements written for these tests, in data/ beside them.
inline std::string SamplePath(const std::string& name) {
  const char* source = std::getenv("PAYLARK_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/core/statements/data/" + name;
}

inline std::string SampleBytes(const std::string& name) {
  return testing::FileBytes(SamplePath(name));
}

inline OleDateTime Day(int year, int month, int day) {
  return *OleDateTime::FromCivil(year, month, day);
}

// Runs a command and gives its exit status; -1 when it could not run.
inline int RunQuietly(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return status == -1 ? -1 : WEXITSTATUS(status);
}

// What a command prints to standard output and standard error together.
inline std::string OutputOf(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    for (std::size_t count; (count = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      output.append(buffer, count);
    pclose(pipe);
  }
  return output;
}

inline bool ToolInstalled(const std::string& tool) {
  return RunQuietly("command -v " + tool) == 0;
}

}  // namespace paylark

#pragma once

#include <cstdlib>
#include <string>

#include "core/base/ole_date_time.h"
#include "tests/core/export/pdf_tools.h"
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

inline bool ToolInstalled(const std::string& tool) {
  return testing::RunTool("command -v " + tool).exitCode == 0;
}

}  // namespace paylark

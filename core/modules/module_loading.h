#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/base/status.h"

namespace paylark {

// What a program knows of a module it loads when first used: its file, the C name of the function
// that gives its table, the table's size where the program was built (every table begins with
// its own size), and what the module holds, for messages ("the file formats module").
struct ModuleDescription {
  const char* file;
  const char* entry;
  std::size_t tableSize;
  const char* contents;
};

// Where a module is looked for: beside the executable in a build folder; installed, in the module
// folder next to bin/.
std::vector<std::string> ModuleCandidates(const char* file);

// The table of the first candidate that loads; an IoError that says why when none does (the
// reason of a candidate that exists comes before that of one that does not).
Result<const void*> OpenModule(const std::vector<std::string>& candidates,
                               const ModuleDescription& module);

template <class Table>
Result<const Table*> OpenModuleTable(const std::vector<std::string>& candidates,
                                     const ModuleDescription& module) {
  PAYLARK_TRY_ASSIGN(const void* table, OpenModule(candidates, module));
  return static_cast<const Table*>(table);
}

// The table of the module, looked for where ModuleCandidates says, loaded on the first call and
// kept for the life of the process: each later call gives what the first one found.
template <class Table>
Result<const Table*> LoadModuleTable(const ModuleDescription& module) {
  static const Result<const Table*> table =
      OpenModuleTable<Table>(ModuleCandidates(module.file), module);
  return table;
}

}  // namespace paylark

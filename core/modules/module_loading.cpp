#include "core/modules/module_loading.h"

#include <dlfcn.h>

#include "core/io/file_system.h"

namespace paylark {
namespace {

Status NotLoaded(const ModuleDescription& module, const std::string& reason) {
  return Status::IoError(std::string(module.contents) + " could not be loaded: " + reason);
}

}  // namespace

std::vector<std::string> ModuleCandidates(const char* file) {
  const std::string executableFolder = ParentFolder(SystemFileSystem().ExecutablePath());
  return {JoinPath(executableFolder, file),
          JoinPath(JoinPath(executableFolder, PAYLARK_MODULEDIR_FROM_BINDIR), file)};
}

Result<const void*> OpenModule(const std::vector<std::string>& candidates,
                               const ModuleDescription& module) {
  std::string reason = "no file was named";
  bool existed = false;
  for (const std::string& candidate : candidates) {
    // Every symbol bound now: one the program lacks fails here, by name, not in a task's middle.
    void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* error = dlerror();
      const bool exists = SystemFileSystem().Inspect(candidate).ok();
      if (!existed || exists)
        reason = error;
      existed = existed || exists;
      continue;
    }
    using Entry = const void* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, module.entry));
    if (entry == nullptr)
      return NotLoaded(module, candidate + " has no " + module.entry);
    const void* table = entry();
    if (*static_cast<const std::size_t*>(table) != module.tableSize)
      return NotLoaded(module, candidate + " was built for another version of Paylark");
    return table;
  }
  return NotLoaded(module, reason);
}

}  // namespace paylark

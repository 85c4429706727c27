#include <dlfcn.h>

#include "core/io/file_system.h"
#include "core/modules/format_module.h"

namespace paylark {
namespace {

// Beside the executable in a build folder; installed, in the module folder next to bin/.
std::vector<std::string> ModuleCandidates() {
  const std::string executableFolder = ParentFolder(SystemFileSystem().ExecutablePath());
  return {JoinPath(executableFolder, kFormatModuleFile),
          JoinPath(JoinPath(executableFolder, PAYLARK_MODULEDIR_FROM_BINDIR), kFormatModuleFile)};
}

Status NotLoaded(const std::string& reason) {
  return Status::IoError("the file formats module could not be loaded: " + reason);
}

}  // namespace

Result<const FormatModule*> OpenFormatModule(const std::vector<std::string>& candidates) {
  std::string reason = "no file was named";
  bool existed = false;
  for (const std::string& candidate : candidates) {
    // Every symbol bound now: one the program lacks fails here, by name, not in a backup's middle.
    void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* error = dlerror();
      const bool exists = SystemFileSystem().Inspect(candidate).ok();
      if (!existed || exists)
        reason = error;
      existed = existed || exists;
      continue;
    }
    using Entry = const FormatModule* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, kFormatModuleEntry));
    if (entry == nullptr)
      return NotLoaded(candidate + " has no " + kFormatModuleEntry);
    const FormatModule* module = entry();
    if (module->size != sizeof(FormatModule))
      return NotLoaded(candidate + " was built for another version of Paylark");
    return module;
  }
  return NotLoaded(reason);
}

Result<const FormatModule*> LoadFormatModule() {
  static const Result<const FormatModule*> module = OpenFormatModule(ModuleCandidates());
  return module;
}

}  // namespace paylark

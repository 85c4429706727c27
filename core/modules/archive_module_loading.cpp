#include "core/modules/archive_module.h"

namespace paylark {

const ModuleDescription kArchiveModule{"paylark-archives.so", "paylark_archive_module",
                                       sizeof(ArchiveModule),
                                       "the backups and office documents module"};

Result<const ArchiveModule*> LoadArchiveModule() {
  static const Result<const ArchiveModule*> module =
      OpenModuleTable<ArchiveModule>(ModuleCandidates(kArchiveModule.file), kArchiveModule);
  return module;
}

}  // namespace paylark

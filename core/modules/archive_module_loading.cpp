#include "core/modules/archive_module.h"

namespace paylark {

const ModuleDescription kArchiveModule{"paylark-archives.so", "paylark_archive_module",
                                       sizeof(ArchiveModule),
                                       "the backups and office documents module"};

Result<const ArchiveModule*> LoadArchiveModule() {
  return LoadModuleTable<ArchiveModule>(kArchiveModule);
}

}  // namespace paylark

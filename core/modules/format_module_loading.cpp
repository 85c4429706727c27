#include "core/modules/format_module.h"

namespace paylark {

const ModuleDescription kFormatModule{"paylark-formats.so", "paylark_format_module",
                                      sizeof(FormatModule), "the file formats module"};

Result<const FormatModule*> LoadFormatModule() {
  return LoadModuleTable<FormatModule>(kFormatModule);
}

}  // namespace paylark

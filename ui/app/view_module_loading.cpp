#include "ui/app/view_module.h"

namespace paylark {

const ModuleDescription kViewModule{"paylark-views.so", "paylark_view_module", sizeof(ViewModule),
                                    "the charts, PDF and printing module"};

Result<const ViewModule*> LoadViewModule() {
  return LoadModuleTable<ViewModule>(kViewModule);
}

}  // namespace paylark

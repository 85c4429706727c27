#include "remote/remote_module.h"

namespace paylark {

const ModuleDescription kRemoteModule{"paylark-remote.so", "paylark_remote_module",
                                      sizeof(RemoteModule),
                                      "the module that reaches servers and the desktop"};

Result<const RemoteModule*> LoadRemoteModule() {
  return LoadModuleTable<RemoteModule>(kRemoteModule);
}

}  // namespace paylark

#include "remote/remote_module.h"

// The module's one exported name; its version script keeps every other symbol inside it, so the
// functions below are its own and never the program's copies of the same names.
// NOLINTNEXTLINE(readability-identifier-naming): the C name the programs look up.
extern "C" [[gnu::visibility("default")]] const void* paylark_remote_module() {
  static const paylark::RemoteModule kModule{sizeof(paylark::RemoteModule),
                                             &paylark::SyncCalendar,
                                             &paylark::ReadSecretLater,
                                             &paylark::StoreSecretLater,
                                             &paylark::SendSyncthingRequest,
                                             &paylark::ReadSecret,
                                             &paylark::PostPush,
                                             &paylark::ShowNotification};
  return &kModule;
}

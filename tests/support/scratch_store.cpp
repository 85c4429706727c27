#include "tests/support/scratch_store.h"

namespace paylark::testing {

ScratchStore::ScratchStore(const Clock& clock)
    : store_(clock, folder_.path().string(), SystemFileSystem()) {
  store_.SetDurability(Durability::kUnsynced);
  (void)store_.Reload();
}

}  // namespace paylark::testing

#include "core/base/background_priority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace paylark {
namespace {

// Weighs about a tenth of a thread of default priority when both want a core.
constexpr int kBackgroundNice = 10;

}  // namespace

void RunBehindTheWindow() {
  // On Linux a nice value belongs to the thread, and threads it starts inherit it.
  (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kBackgroundNice);
}

}  // namespace paylark

#include "ui/base/start_timeline.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace paylark {

void MarkStart(const char* what) {
  static const bool enabled = std::getenv("PAYLARK_START_TIMELINE") != nullptr;
  if (!enabled)
    return;
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  std::fprintf(stderr, "paylark-start %.3f %s\n",
               std::chrono::duration<double, std::milli>(since).count(), what);
  std::fflush(stderr);
}

}  // namespace paylark

#include "ui/base/start_timeline.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace paylark {
namespace {

// The resident memory, from /proc/self/statm (pages), or 0 where that cannot be read.
double ResidentMebibytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm)
    return 0;
  unsigned long size = 0;
  unsigned long resident = 0;
  const bool read = std::fscanf(statm, "%lu %lu", &size, &resident) == 2;
  std::fclose(statm);
  return read ? static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
                    (1024.0 * 1024.0)
              : 0;
}

}  // namespace

bool StartTimelineOn() {
  static const bool on = std::getenv("PAYLARK_START_TIMELINE") != nullptr;
  return on;
}

void MarkStart(const char* what) {
  if (!StartTimelineOn())
    return;
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  std::fprintf(stderr, "paylark-start %.3f %s [%.0f MiB]\n",
               std::chrono::duration<double, std::milli>(since).count(), what, ResidentMebibytes());
  std::fflush(stderr);
}

}  // namespace paylark

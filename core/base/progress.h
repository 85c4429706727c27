#pragma once

#include <cstddef>
#include <functional>

namespace paylark {

// Told after each record of a many-record operation: how many are done, and how many there are
// in all (0 while the total is not known). An empty function is never called. It runs on the
// caller's thread, inside the operation: it must not change the records.
using Progress = std::function<void(std::size_t done, std::size_t total)>;

// Calls progress when it is set.
inline void Report(const Progress& progress, std::size_t done, std::size_t total) {
  if (progress)
    progress(done, total);
}

}  // namespace paylark

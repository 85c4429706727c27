#pragma once

#include <chrono>

class QObject;

namespace paylark {

// While the start timeline is on, watches the event loop for `span` and then marks the longest
// time it went without turning ("longest stall <milliseconds> ms"): started after the first
// painted month, it shows whether the work left for after the paint blocks the window. Without
// the timeline it does nothing.
void ProbeStalls(QObject& owner, std::chrono::milliseconds span);

}  // namespace paylark

#pragma once

namespace paylark {

// Where a start spends its time and memory. When the environment sets PAYLARK_START_TIMELINE,
// each mark prints "paylark-start <milliseconds of the monotonic clock> <what> [<resident> MiB]"
// on standard error, so that a launcher that reads the same clock sees how long after the launch
// each step ended. Without it a mark costs the test of a flag.
void MarkStart(const char* what);
// Whether the environment asks for the marks.
bool StartTimelineOn();

}  // namespace paylark

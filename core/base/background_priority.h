#pragma once

namespace paylark {

// Lowers the calling thread's scheduling priority, and that of the threads it starts after: work
// that runs beside the window (backups, the start's folder check, snapshot writes) gives way to
// it, where on a machine of two cores the window's thread would wait its turn behind them.
// Best effort: a system that refuses leaves the priority as it was.
void RunBehindTheWindow();

}  // namespace paylark

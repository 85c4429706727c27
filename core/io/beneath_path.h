#pragma once

namespace paylark {

// Opens `relative` (names joined by "/") beneath the open folder `root` with no symbolic link
// followed at any step, as openat2 with RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS does; where the
// system lacks openat2, OpenStepByStep does it. Gives the descriptor, or -1 with errno set as
// openat sets it: ELOOP for a link on the way or at the end, EXDEV for a step out of the root.
int OpenBeneath(int root, const char* relative, int flags);
// openat of a name in the folder with no link followed, where a link is ELOOP also when a folder
// was asked for (O_DIRECTORY alone would make it ENOTDIR).
int OpenNoFollow(int folder, const char* name, int flags);
// The same one step at a time, each opened with O_NOFOLLOW; ".." is refused (EXDEV).
int OpenStepByStep(int root, const char* relative, int flags);

}  // namespace paylark

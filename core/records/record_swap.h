#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"
#include "core/io/file_system.h"

namespace paylark {

// Staging files and journals of a swap start with this; they are no temporary files of a single
// write, and only a swap's own rules remove them.
inline constexpr std::string_view kSwapPrefix = ".paylark-swap-";

struct NewRecordFile {
  std::string name;
  std::string bytes;
};

// A move a swap makes: `from` and `to` are paths beneath its folder ("Attachments/<ID>/bill.pdf"),
// reached with no symbolic link followed.
struct SwapMove {
  std::string from;
  std::string to;
};

// What a swap does besides replacing files of the folder itself. It first moves `setAside`, never
// replacing anything, so that a file is kept where `placed` would take its name; then it puts
// `placed`, files its caller has already written to names that start with SwapStagingPrefix, in
// place, replacing what is there. The staged files are the swap's from the call on: one that
// fails before it is decided removes them. A move whose path is or passes through a symbolic
// link is left out, the link left alone.
struct SwapMoves {
  std::vector<SwapMove> setAside;
  std::vector<SwapMove> placed;
};

// The start of the names under which this process stages files of its own for a swap in a folder
// (a number follows): whatever a killed writer left under them goes with its swap's other files.
std::string SwapStagingPrefix(const FileSystem& files);

// Replaces a set of files of a folder with another, so that a kill at any instant leaves the old
// set or the new set whole:
// 1. every new file is written to a staging file ".paylark-swap-<process ID>-<n>" and flushed;
// 2. a journal naming each staging file's final name and each old file that goes is written,
//    flushed and renamed to ".paylark-swap-<process ID>.journal": from here on the swap is
//    decided;
// 3. the files set aside are moved, the staging files renamed over their final names, the old
//    files removed, the folder synced and the journal removed.
// A failure before the journal's rename removes the staging files (the old set stays); one after
// it tries step 3 once more, and otherwise leaves the journal for the next load to finish. Where
// both attempts fail (or the staging files cannot be removed), the status tells both reasons.
Status SwapFiles(FileSystem& files, const std::string& folder,
                 const std::vector<NewRecordFile>& newFiles,
                 const std::vector<std::string>& oldNames, const SwapMoves& moves = {});

// Finishes the swaps whose writer is gone (or is this process) and removes staging files that no
// journal names once their writer is gone or they are older than an hour. Gives whether it
// changed the folder; a swap it cannot finish stays for the next load. It lists the folder: a
// load calls it only when its scan found swap files.
bool FinishInterruptedSwaps(FileSystem& files, const std::string& folder);

// Whether the name is a swap's staging file or journal.
inline bool IsSwapFileName(std::string_view name) {
  return name.starts_with(kSwapPrefix);
}

// Whether the name is a swap's journal: a swap that was decided and is not finished yet.
bool IsSwapJournalName(std::string_view name);

}  // namespace paylark

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

// Replaces a set of files of a folder with another, so that a kill at any instant leaves the old
// set or the new set whole:
// 1. every new file is written to a staging file ".paylark-swap-<process ID>-<n>" and flushed;
// 2. a journal naming each staging file's final name and each old file that goes is written,
//    flushed and renamed to ".paylark-swap-<process ID>.journal": from here on the swap is
//    decided;
// 3. the staging files are renamed over their final names, the old files removed, the folder
//    synced and the journal removed.
// A failure before the journal's rename removes the staging files (the old set stays); one after
// it tries step 3 once more, and otherwise leaves the journal for the next load to finish. Where
// both attempts fail (or the staging files cannot be removed), the status tells both reasons.
Status SwapFiles(FileSystem& files, const std::string& folder,
                 const std::vector<NewRecordFile>& newFiles,
                 const std::vector<std::string>& oldNames);

// Finishes the swaps whose writer is gone (or is this process) and removes staging files that no
// journal names once their writer is gone or they are older than an hour. Gives whether it
// changed the folder; a swap it cannot finish stays for the next load. It lists the folder: a
// load calls it only when its scan found swap files.
bool FinishInterruptedSwaps(FileSystem& files, const std::string& folder);

// Whether the name is a swap's staging file or journal.
inline bool IsSwapFileName(std::string_view name) {
  return name.starts_with(kSwapPrefix);
}

}  // namespace paylark

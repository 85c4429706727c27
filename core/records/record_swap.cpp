#include "core/records/record_swap.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <set>
#include <utility>

#include "core/io/temporary_files.h"

namespace paylark {
namespace {

constexpr std::string_view kJournalSuffix = ".journal";
constexpr std::string_view kJournalHeader = "paylark swap 1\n";
constexpr std::size_t kMaxJournalBytes = std::size_t{256} << 20;

struct Journal {
  struct Placement {
    std::string staging;
    std::string final;
  };
  std::vector<Placement> placements;
  std::vector<std::string> removals;
  std::vector<SwapMove> setAside;
};

std::string PathIn(const std::string& folder, std::string_view name) {
  std::string path = folder;
  path += '/';
  path += name;
  return path;
}

// Each name as "<length>:<bytes>", so that any byte may be part of a name.
void AppendName(std::string& text, std::string_view name) {
  text += std::to_string(name.size());
  text += ':';
  text += name;
}

std::string EncodeJournal(const Journal& journal) {
  std::string text(kJournalHeader);
  for (const SwapMove& move : journal.setAside) {
    text += 'A';
    AppendName(text, move.from);
    AppendName(text, move.to);
    text += '\n';
  }
  for (const auto& placement : journal.placements) {
    text += 'P';
    AppendName(text, placement.staging);
    AppendName(text, placement.final);
    text += '\n';
  }
  for (const std::string& name : journal.removals) {
    text += 'R';
    AppendName(text, name);
    text += '\n';
  }
  return text;
}

// A journal never sends a path outside its folder: no step of it is empty, "." or "..".
bool IsPathBeneath(std::string_view path) {
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos)
      end = path.size();
    const std::string_view step = path.substr(start, end - start);
    if (step.empty() || step == "." || step == "..")
      return false;
    start = end + 1;
  }
  return true;
}

bool TakeName(std::string_view& text, std::string& name) {
  std::size_t length = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
  if (error != std::errc() || end == text.data() + text.size() || *end != ':')
    return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
  if (length == 0 || length > text.size())
    return false;
  name = std::string(text.substr(0, length));
  text.remove_prefix(length);
  return IsPathBeneath(name);
}

Result<Journal> DecodeJournal(std::string_view text) {
  const Status damaged = Status::Corrupt("the journal is damaged");
  if (!text.starts_with(kJournalHeader))
    return damaged;
  text.remove_prefix(kJournalHeader.size());
  Journal journal;
  while (!text.empty()) {
    const char kind = text.front();
    text.remove_prefix(1);
    if (kind == 'P') {
      Journal::Placement placement;
      if (!TakeName(text, placement.staging) || !TakeName(text, placement.final) ||
          !IsSwapFileName(placement.staging) || placement.staging.find('/') != std::string::npos)
        return damaged;
      journal.placements.push_back(std::move(placement));
    } else if (kind == 'A') {
      SwapMove move;
      if (!TakeName(text, move.from) || !TakeName(text, move.to))
        return damaged;
      journal.setAside.push_back(std::move(move));
    } else if (kind == 'R') {
      std::string name;
      if (!TakeName(text, name))
        return damaged;
      journal.removals.push_back(std::move(name));
    } else {
      return damaged;
    }
    if (text.empty() || text.front() != '\n')
      return damaged;
    text.remove_prefix(1);
  }
  return journal;
}

// A symbolic link on a move's way (kInvalidArgument), or a folder this user may not change, is
// left alone with the move: no later attempt would do better.
bool LeavesAlone(const Status& status) {
  return status.code() == StatusCode::kInvalidArgument || IsPermissionDenied(status);
}

// Creates the folders on the way to a path beneath the folder.
Status CreateFoldersOnTheWay(FileSystem& files, const std::string& folder, std::string_view path) {
  for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
       slash = path.find('/', slash + 1)) {
    PAYLARK_TRY(files.CreateFolder(PathIn(folder, path.substr(0, slash))));
  }
  return Status::Ok();
}

// Moves a file aside without replacing anything; its folder goes when that was its last file. A
// file not found, or found at its new place already, was moved by an earlier attempt.
Status SetAside(FileSystem& files, const std::string& folder, const SwapMove& move) {
  if (Status made = CreateFoldersOnTheWay(files, folder, move.to); !made.ok())
    return LeavesAlone(made) ? Status::Ok() : made;
  const std::string from = PathIn(folder, move.from);
  Status status = files.Rename(from, PathIn(folder, move.to), Placement::kCreateNew);
  if (status.ok() && move.from.find('/') != std::string::npos)
    (void)files.RemoveFolder(ParentFolder(from));
  const bool done = status.ok() || status.code() == StatusCode::kNotFound ||
                    status.code() == StatusCode::kAlreadyExists || LeavesAlone(status);
  return done ? Status::Ok() : status;
}

// Renames a staging file over its final name; one not found was placed by an earlier attempt.
Status Place(FileSystem& files, const std::string& folder, const Journal::Placement& placement) {
  const std::string staging = PathIn(folder, placement.staging);
  Status status = CreateFoldersOnTheWay(files, folder, placement.final);
  if (status.ok())
    status = files.Rename(staging, PathIn(folder, placement.final), Placement::kReplace);
  // The folder's own files are never left out: the swap of the records is all or nothing.
  if (placement.final.find('/') != std::string::npos && LeavesAlone(status)) {
    (void)files.Remove(staging);
    return Status::Ok();
  }
  return status.code() == StatusCode::kNotFound ? Status::Ok() : status;
}

// Step 3: repeatable, as a file already moved is simply not found again.
Status Apply(FileSystem& files, const std::string& folder, const Journal& journal,
             const std::string& journalPath) {
  for (const SwapMove& move : journal.setAside)
    PAYLARK_TRY(SetAside(files, folder, move));
  for (const auto& placement : journal.placements)
    PAYLARK_TRY(Place(files, folder, placement));
  for (const std::string& name : journal.removals) {
    Status status = files.Remove(PathIn(folder, name));
    if (!status.ok() && status.code() != StatusCode::kNotFound)
      return status;
  }
  if (Status status = files.SyncFolder(folder); !status.ok())
    return status;
  if (Status status = files.Remove(journalPath); !status.ok())
    return status;
  return files.SyncFolder(folder);
}

// Removes what a swap that was not decided wrote; tells what could not be removed.
Status Discard(FileSystem& files, const std::vector<std::string>& paths) {
  Status first;
  for (const std::string& path : paths) {
    Status status = files.Remove(path);
    if (!status.ok() && status.code() != StatusCode::kNotFound && first.ok())
      first = std::move(status);
  }
  return first;
}

Status Undone(FileSystem& files, const std::vector<std::string>& written, Status failure) {
  Status discarded = Discard(files, written);
  if (discarded.ok())
    return failure;
  return Status::IoError(failure.message() + "; the files written for it could not be removed (" +
                         discarded.message() + "); the next load removes them");
}

// Writes a new file under a free staging name.
Result<std::string> Stage(FileSystem& files, const std::string& folder, const std::string& prefix,
                          int& counter, std::string_view bytes) {
  for (;;) {
    std::string name = prefix + std::to_string(++counter);
    Status status = files.Write(PathIn(folder, name), bytes, NewFileMode());
    if (status.code() == StatusCode::kAlreadyExists)
      continue;
    PAYLARK_TRY(status);
    return name;
  }
}

}  // namespace

bool IsSwapJournalName(std::string_view name) {
  return IsSwapFileName(name) && name.ends_with(kJournalSuffix);
}

std::string SwapStagingPrefix(const FileSystem& files) {
  return std::string(kSwapPrefix) + std::to_string(files.ProcessId()) + "-in-";
}

Status SwapFiles(FileSystem& systemFiles, const std::string& folder,
                 const std::vector<NewRecordFile>& newFiles,
                 const std::vector<std::string>& oldNames, const SwapMoves& moves) {
  const std::unique_ptr<FileSystem> beneath = systemFiles.Beneath(folder);
  FileSystem& files = *beneath;
  const std::string writer = std::string(kSwapPrefix) + std::to_string(files.ProcessId());
  const std::string journalPath = PathIn(folder, writer + std::string(kJournalSuffix));
  Journal journal;
  journal.setAside = moves.setAside;
  std::vector<std::string> written;
  for (const SwapMove& staged : moves.placed) {
    written.push_back(PathIn(folder, staged.from));
    journal.placements.push_back({staged.from, staged.to});
  }
  int counter = 0;
  for (const NewRecordFile& file : newFiles) {
    Result<std::string> staged = Stage(files, folder, writer + "-", counter, file.bytes);
    if (!staged.ok())
      return Undone(files, written, staged.status());
    written.push_back(PathIn(folder, staged.value()));
    journal.placements.push_back({std::move(staged).value(), file.name});
  }
  std::set<std::string_view> kept;
  for (const NewRecordFile& file : newFiles)
    kept.insert(file.name);
  for (const std::string& name : oldNames) {
    if (!kept.contains(name))
      journal.removals.push_back(name);
  }
  Result<std::string> journalStaged =
      Stage(files, folder, writer + "-journal-", counter, EncodeJournal(journal));
  if (!journalStaged.ok())
    return Undone(files, written, journalStaged.status());
  written.push_back(PathIn(folder, journalStaged.value()));
  if (Status status = files.SyncData(written); !status.ok())
    return Undone(files, written, status);
  if (Status status = files.Rename(written.back(), journalPath, Placement::kCreateNew);
      !status.ok())
    return Undone(files, written, status);
  // Decided: from here on only forward. Removing the staged files now could leave a journal that
  // names none of them, and its next load would remove the old files for nothing; a failed
  // flush of the folder is told by the steps that follow.
  (void)files.SyncFolder(folder);
  Status applied = Apply(files, folder, journal, journalPath);
  if (applied.ok())
    return applied;
  Status again = Apply(files, folder, journal, journalPath);
  if (again.ok())
    return again;
  return Status::IoError(applied.message() + "; finishing it again failed too (" + again.message() +
                         "); the next load finishes it");
}

bool FinishInterruptedSwaps(FileSystem& systemFiles, const std::string& folder) {
  const std::unique_ptr<FileSystem> beneath = systemFiles.Beneath(folder);
  FileSystem& files = *beneath;
  Result<std::vector<FolderEntry>> entries = files.List(folder);
  if (!entries.ok())
    return false;
  bool changed = false;
  std::set<int> pending;  // writers whose staging files a journal still needs
  for (const FolderEntry& entry : entries.value()) {
    if (!IsSwapJournalName(entry.name))
      continue;
    const int writer = WriterOf(entry.name, kSwapPrefix);
    if (writer != files.ProcessId() && files.ProcessRunning(writer)) {
      pending.insert(writer);
      continue;
    }
    const std::string path = PathIn(folder, entry.name);
    Result<std::string> text = files.Read(path, kMaxJournalBytes);
    Result<Journal> journal = text.ok() ? DecodeJournal(text.value()) : text.status();
    if (journal.ok() && Apply(files, folder, journal.value(), path).ok()) {
      changed = true;
    } else if (!journal.ok() && journal.status().code() == StatusCode::kCorrupt) {
      (void)files.Remove(path);  // not Paylark's: nothing it names can be trusted
    } else {
      pending.insert(writer);
    }
  }
  for (const FolderEntry& entry : entries.value()) {
    if (!IsSwapFileName(entry.name) || IsSwapJournalName(entry.name))
      continue;
    const int writer = WriterOf(entry.name, kSwapPrefix);
    if (pending.contains(writer))
      continue;
    // At start this process's ID on a staging file is an earlier process's.
    if (writer == files.ProcessId() || IsStaleTemporary(files, writer, entry.info.ageSeconds))
      changed = files.Remove(PathIn(folder, entry.name)).ok() || changed;
  }
  return changed;
}

}  // namespace paylark

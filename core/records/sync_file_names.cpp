#include "core/records/sync_file_names.h"

#include <algorithm>

namespace paylark {
namespace {

constexpr std::string_view kRecordPrefix = "duedate";
constexpr std::string_view kRecordSuffix = ".due";
constexpr std::string_view kSyncthingConflict = ".sync-conflict-";
constexpr std::string_view kConflictedCopy = "conflicted copy";

// ASCII only: a name's bytes mean the same in every locale.
char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size())
    return false;
  return std::equal(tail.begin(), tail.end(), text.end() - static_cast<long>(tail.size()),
                    [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

bool IsTemporary(std::string_view name) {
  return (name.starts_with(".syncthing.") && name.ends_with(".tmp")) ||
         (name.starts_with("~syncthing~") && name.ends_with(".tmp")) || name.ends_with(".part") ||
         name.starts_with(".~");
}

std::string RecordIdOf(std::string_view recordFileName) {
  if (!recordFileName.starts_with(kRecordPrefix) || !EndsWithNoCase(recordFileName, kRecordSuffix))
    return {};
  return std::string(recordFileName.substr(
      kRecordPrefix.size(), recordFileName.size() - kRecordPrefix.size() - kRecordSuffix.size()));
}

SyncFileName Named(SyncFileKind kind, std::string_view stem, std::string_view suffix) {
  std::string recordFileName(stem);
  recordFileName += suffix;
  std::string recordId = RecordIdOf(recordFileName);
  return {kind, std::move(recordFileName), std::move(recordId)};
}

// The stem of a conflict copy's record file, or npos when the name is not a conflict copy.
std::size_t ConflictStemLength(std::string_view withoutSuffix) {
  if (const auto at = withoutSuffix.find(kSyncthingConflict); at != std::string_view::npos)
    return at > 0 ? at : std::string_view::npos;
  if (!withoutSuffix.ends_with(')'))
    return std::string_view::npos;
  const auto open = withoutSuffix.rfind(" (");
  if (open == std::string_view::npos || open == 0)
    return std::string_view::npos;
  const std::string_view inside = withoutSuffix.substr(open + 2);
  return inside.find(kConflictedCopy) != std::string_view::npos ? open : std::string_view::npos;
}

}  // namespace

SyncFileKind KindOfFileName(std::string_view name) {
  if (IsTemporary(name))
    return SyncFileKind::kTemporary;
  if (!EndsWithNoCase(name, kRecordSuffix) || name.size() == kRecordSuffix.size())
    return SyncFileKind::kOther;
  const std::string_view withoutSuffix = name.substr(0, name.size() - kRecordSuffix.size());
  return ConflictStemLength(withoutSuffix) != std::string_view::npos ? SyncFileKind::kConflictCopy
                                                                     : SyncFileKind::kRecord;
}

bool HasRecordSuffix(std::string_view name) {
  return EndsWithNoCase(name, kRecordSuffix);
}

SyncFileName ClassifyFileName(std::string_view name) {
  const SyncFileKind kind = KindOfFileName(name);
  if (kind == SyncFileKind::kTemporary || kind == SyncFileKind::kOther)
    return {kind, {}, {}};
  const std::string_view suffix = name.substr(name.size() - kRecordSuffix.size());
  const std::string_view withoutSuffix = name.substr(0, name.size() - kRecordSuffix.size());
  const std::size_t stem = kind == SyncFileKind::kConflictCopy ? ConflictStemLength(withoutSuffix)
                                                               : withoutSuffix.size();
  return Named(kind, withoutSuffix.substr(0, stem), suffix);
}

}  // namespace paylark

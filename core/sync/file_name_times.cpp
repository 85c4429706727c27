#include "core/sync/file_name_times.h"

#include "core/io/file_system.h"

namespace paylark {
namespace {

constexpr std::string_view kSyncthingConflict = ".sync-conflict-";
constexpr std::string_view kConflictedCopy = "conflicted copy";
constexpr std::string_view kOwnerMark = "'s ";
constexpr std::string_view kBackupPrefix = "Paylark Files ";
constexpr std::string_view kBackupSuffix = ".zip";

// The number the digits at `text[at, at + count)` spell, or -1 when any is not a digit.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size())
    return -1;
  int value = 0;
  for (const char c : text.substr(at, count)) {
    if (c < '0' || c > '9')
      return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// "YYYYMMDD" (compact) or "YYYY-MM-DD" at the start of the text.
std::optional<OleDateTime> DateAt(std::string_view text, bool compact, int hour = 0, int minute = 0,
                                  int second = 0) {
  const std::size_t step = compact ? 0 : 1;
  if (!compact && (text.size() < 10 || text[4] != '-' || text[7] != '-'))
    return std::nullopt;
  const int year = DigitsAt(text, 0, 4);
  const int month = DigitsAt(text, 4 + step, 2);
  const int day = DigitsAt(text, 6 + 2 * step, 2);
  if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
    return std::nullopt;
  return OleDateTime::FromCivil(year, month, day, hour, minute, second);
}

// "HHMMSS" at `at`: hour, minute and second, or -1s.
struct TimeOfDay {
  int hour = -1;
  int minute = -1;
  int second = -1;
};
TimeOfDay TimeAt(std::string_view text, std::size_t at) {
  return {DigitsAt(text, at, 2), DigitsAt(text, at + 2, 2), DigitsAt(text, at + 4, 2)};
}

std::string_view WithoutSuffix(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

ConflictCopyOrigin SyncthingOrigin(std::string_view tail) {
  // "<YYYYMMDD>-<HHMMSS>-<device>"
  ConflictCopyOrigin origin;
  if (tail.size() < 16 || tail[8] != '-' || tail[15] != '-')
    return origin;
  const TimeOfDay time = TimeAt(tail, 9);
  origin.made = DateAt(tail, true, time.hour, time.minute, time.second);
  origin.hasTime = origin.made.has_value();
  origin.device = std::string(tail.substr(16));
  return origin;
}

ConflictCopyOrigin BracketOrigin(std::string_view inside) {
  // "[<device>'s ]conflicted copy [<anything> ]<YYYY-MM-DD>[ <HHMMSS>]"
  ConflictCopyOrigin origin;
  const std::size_t mark = inside.find(kConflictedCopy);
  if (mark == std::string_view::npos)
    return origin;
  if (mark > kOwnerMark.size() &&
      inside.substr(mark - kOwnerMark.size(), kOwnerMark.size()) == kOwnerMark) {
    origin.device = std::string(inside.substr(0, mark - kOwnerMark.size()));
  }
  const std::string_view rest = inside.substr(mark + kConflictedCopy.size());
  if (rest.size() >= 17 && rest[rest.size() - 7] == ' ') {
    const TimeOfDay time = TimeAt(rest, rest.size() - 6);
    origin.made = DateAt(rest.substr(rest.size() - 17), false, time.hour, time.minute, time.second);
    origin.hasTime = origin.made.has_value();
  }
  if (!origin.made && rest.size() >= 10)
    origin.made = DateAt(rest.substr(rest.size() - 10), false);
  return origin;
}

}  // namespace

ConflictCopyOrigin OriginOfConflictCopy(std::string_view name) {
  const std::string_view stem = WithoutSuffix(name);
  if (const std::size_t at = stem.rfind(kSyncthingConflict); at != std::string_view::npos)
    return SyncthingOrigin(stem.substr(at + kSyncthingConflict.size()));
  const std::size_t open = stem.rfind(" (");
  if (open == std::string_view::npos || !stem.ends_with(')'))
    return {};
  return BracketOrigin(stem.substr(open + 2, stem.size() - open - 3));
}

std::optional<OleDateTime> BackupTakenAt(std::string_view path) {
  const std::string name = BaseName(path);
  // "Paylark Files YYYY-MM-DD HHMMSS.zip"
  constexpr std::size_t kStampLength = 17;
  if (!name.starts_with(kBackupPrefix) || !name.ends_with(kBackupSuffix) ||
      name.size() != kBackupPrefix.size() + kStampLength + kBackupSuffix.size()) {
    return std::nullopt;
  }
  const std::string_view stamp = std::string_view(name).substr(kBackupPrefix.size(), kStampLength);
  if (stamp[10] != ' ')
    return std::nullopt;
  const TimeOfDay time = TimeAt(stamp, 11);
  return DateAt(stamp, false, time.hour, time.minute, time.second);
}

}  // namespace paylark

#include "core/sync/backup_folder.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>

#include "core/io/user_folders.h"

namespace paylark {
namespace {

constexpr std::string_view kBackupPrefix = "Paylark Files ";

std::uint32_t PathHash(std::string_view text) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

std::string DayText(const CivilDateTime& c) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
  return text;
}

std::string StemOf(const std::string& name) {
  return name.substr(0, name.size() - kBackupSuffix.size());
}

}  // namespace

bool IsBackupName(std::string_view name) {
  return name.starts_with(kBackupPrefix) && name.ends_with(kBackupSuffix);
}

std::string BackupStem(const Clock& clock) {
  const CivilDateTime c = clock.Now().ToCivil();
  char time[8];
  std::snprintf(time, sizeof time, "%02d%02d%02d", c.hour, c.minute, c.second);
  return std::string(kBackupPrefix) + DayText(c) + " " + time;
}

std::string AbsolutePath(const std::string& path) {
  std::string whole = path;
  if (!path.starts_with('/')) {
    char current[PATH_MAX];
    whole = std::string(getcwd(current, sizeof current) ? current : "") + "/" + path;
  }
  std::vector<std::string_view> steps;
  const std::string_view text = whole;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('/', start);
    if (end == std::string_view::npos)
      end = text.size();
    const std::string_view step = text.substr(start, end - start);
    if (step == "..") {
      if (!steps.empty())
        steps.pop_back();
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    start = end + 1;
  }
  std::string absolute;
  for (const std::string_view step : steps) {
    absolute += '/';
    absolute += step;
  }
  return absolute.empty() ? "/" : absolute;
}

std::string BackupsFolder(const std::string& workingDirectory) {
  const std::string absolute = AbsolutePath(workingDirectory);
  const std::string name = BaseName(absolute);
  char hash[16];
  std::snprintf(hash, sizeof hash, "%08x", PathHash(absolute));
  return UserDataFolder() + "/paylark/Backups/" + name + "-" + hash;
}

std::vector<std::string> ListBackups(const std::string& backupsFolder, FileSystem& files) {
  std::vector<std::string> names;
  Result<std::vector<FolderEntry>> entries = files.List(backupsFolder);
  if (!entries.ok())
    return names;
  for (const FolderEntry& entry : entries.value()) {
    if (IsBackupName(entry.name) && entry.info.kind == FileKind::kRegular)
      names.push_back(entry.name);
  }
  // "… 101010" before "… 101010 (2)" before "… 101011": compare without the extension.
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return StemOf(a) > StemOf(b); });
  const std::string prefix = backupsFolder + "/";
  for (std::string& name : names)
    name.insert(0, prefix);
  return names;
}

bool HasBackupOfToday(const std::string& backupsFolder, const Clock& clock, FileSystem& files) {
  const std::string today = std::string(kBackupPrefix) + DayText(clock.Now().ToCivil()) + " ";
  const std::vector<std::string> backups = ListBackups(backupsFolder, files);
  return std::any_of(backups.begin(), backups.end(),
                     [&](const std::string& path) { return BaseName(path).starts_with(today); });
}

}  // namespace paylark

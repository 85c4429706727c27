#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "cli/printable_text.h"
#include "core/sync/backups.h"
#include "core/sync/conflicts.h"
#include "settings/user_settings.h"

namespace paylark::cli {
namespace {

int BackupsKept() {
  return UserSettings::Read(settings::kBackupsKept);
}

std::string FieldsText(const std::vector<std::string_view>& fields, std::string_view separator) {
  std::string text;
  for (const std::string_view field : fields) {
    if (!text.empty())
      text += separator;
    text += field;
  }
  return text;
}

std::string VersionJson(const ConflictVersion& version) {
  std::string json = "{\"file\": " + JsonString(version.fileName) +
                     ", \"record\": " + (version.record ? RecordJson(*version.record) : "null");
  if (!version.problem.empty())
    json += ", \"problem\": " + JsonString(version.problem);
  std::string differs;
  for (const std::string_view field : version.differingFields)
    differs += (differs.empty() ? "" : ", ") + JsonString(field);
  return json + ", \"differs\": [" + differs + "]}";
}

void PrintConflictsJson(const std::vector<Conflict>& conflicts, std::ostream& out) {
  out << "{\"conflicts\": [";
  for (std::size_t i = 0; i < conflicts.size(); ++i) {
    const Conflict& conflict = conflicts[i];
    out << (i ? ", " : "") << "{\"recordId\": " << JsonString(conflict.recordId)
        << ", \"current\": " << VersionJson(conflict.current) << ", \"copies\": [";
    for (std::size_t c = 0; c < conflict.copies.size(); ++c)
      out << (c ? ", " : "") << VersionJson(conflict.copies[c]);
    std::string differs;
    for (const std::string_view field : conflict.DifferingFields())
      differs += (differs.empty() ? "" : ", ") + JsonString(field);
    out << "], \"differs\": [" << differs << "]}";
  }
  out << "]}\n";
}

Result<std::vector<Conflict>> LoadConflicts(CommandContext& context) {
  return FindConflicts(RecordsFolderPath(context.store.workingDirectory()), context.store.files());
}

}  // namespace

void BackUpBeforeFirstChangeOfDay(CommandContext& context) {
  const RecordStore& store = context.store;
  if (store.map().size() == 0 ||
      HasBackupOfToday(BackupsFolder(store.workingDirectory()), context.clock, store.files()))
    return;
  const Result<std::string> path = CreateBackup(store, context.clock, BackupsKept());
  if (!path.ok())
    context.err << "paylark-cli: no backup was taken: " << path.status().message() << '\n';
}

int RunConflicts(Arguments& arguments, CommandContext& context) {
  const bool json = arguments.TakeFlag("--json");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  const auto conflicts = LoadConflicts(context);
  if (!conflicts.ok())
    return Fail(context, kExitFailed, conflicts.status().message());
  if (json) {
    PrintConflictsJson(conflicts.value(), context.out);
    return kExitSuccess;
  }
  if (conflicts.value().empty())
    context.err << "paylark-cli: there are no sync conflicts\n";
  // One line per copy: ID, the record file, the copy, the fields in which the copy differs.
  for (const Conflict& conflict : conflicts.value()) {
    for (const ConflictVersion& copy : conflict.copies) {
      const std::string differs =
          copy.record ? FieldsText(copy.differingFields, ",") : "unreadable: " + copy.problem;
      context.out << Printable(conflict.recordId) << '\t' << Printable(conflict.current.fileName)
                  << '\t' << Printable(copy.fileName) << '\t' << Printable(differs) << '\n';
    }
  }
  return kExitSuccess;
}

int RunResolve(Arguments& arguments, CommandContext& context) {
  const auto keep = arguments.TakeValue("--keep");
  const auto id = arguments.TakePositional();
  if (!id)
    return UsageError(context, "resolve needs a record ID");
  if (!keep)
    return UsageError(context, "resolve needs --keep current|FILE");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  const auto conflicts = LoadConflicts(context);
  if (!conflicts.ok())
    return Fail(context, kExitFailed, conflicts.status().message());
  for (const Conflict& conflict : conflicts.value()) {
    if (conflict.recordId != *id)
      continue;
    const std::size_t slash = keep->rfind('/');
    const std::string fileName = slash == std::string::npos ? *keep : keep->substr(slash + 1);
    const Status status = ResolveConflict(context.store, conflict, fileName,
                                          BackupsFolder(context.store.workingDirectory()));
    if (status.code() == StatusCode::kInvalidArgument)
      return Fail(context, kExitInvalid, status.message());
    if (!status.ok())
      return Fail(context, kExitFailed, status.message());
    return kExitSuccess;
  }
  return Fail(context, kExitFailed, "the due \"" + *id + "\" has no sync conflict");
}

int RunBackup(Arguments& arguments, CommandContext& context) {
  const std::string output = arguments.TakeValue("--output").value_or("");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  const Result<TakenBackup> taken =
      TakeBackup(context.store.files(), context.store.workingDirectory(), context.clock,
                 BackupsKept(), {output, {}});
  if (!taken.ok())
    return Fail(context, kExitFailed, taken.status().message());
  for (const SkippedFile& file : taken.value().setAside) {
    context.err << "paylark-cli: " << Printable(file.fileName)
                << " is no readable record; the backup keeps it under Unreadable/: " << file.reason
                << '\n';
  }
  for (const SkippedFile& file : taken.value().leftOut) {
    context.err << "paylark-cli: " << Printable(file.fileName)
                << " is not in the backup: " << file.reason << '\n';
  }
  context.out << taken.value().path << '\n';
  return kExitSuccess;
}

int RunRestore(Arguments& arguments, CommandContext& context) {
  const bool allowEmpty = arguments.TakeFlag("--allow-empty");
  const auto file = arguments.TakePositional();
  if (!file)
    return UsageError(context, "restore needs a backup file");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  const Status status =
      RestoreBackup(context.store, context.clock, *file, BackupsKept(), allowEmpty);
  if (status.message().starts_with(kEmptyBackupReason)) {
    return Fail(context, kExitFailed,
                "nothing was restored: " + status.message() + " (--allow-empty restores it)");
  }
  if (!status.ok())
    return Fail(context, kExitFailed, "nothing was restored: " + status.message());
  return kExitSuccess;
}

}  // namespace paylark::cli

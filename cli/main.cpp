#include <sys/stat.h>

#include <array>
#include <clocale>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/printable_text.h"
#include "cli/record_fields.h"
#include "cli/working_directory.h"
#include "core/attachments/attachment_store.h"
#include "core/base/messages.h"
#include "core/base/text_encoding.h"
#include "core/io/user_folders.h"
#include "core/records/record_snapshot.h"
#include "core/sync/backups.h"
#include "core/sync/conflicts.h"

namespace paylark::cli {
namespace {

const Command kCommands[] = {
    {"list", "list [--month YYYY-MM] [--filter all|paid|unpaid] [--json]", RunList},
    {"show", "show ID [--json]", RunShow},
    {"add",
     "add [fields]\n"
     "  add --from-bill FILE [fields] [--dry-run] [--json]\n"
     "         the due a bill describes (its e-invoice or payment code), with the bill attached",
     RunAdd},
    {"series",
     "series --kind day|week|month|year [pattern] --start DT (--count N | --end-by DT)\n"
     "         [--offset-days D] [--offset-time HH:MM] [--weekend keep|before|after] [--yes]\n"
     "         [fields]\n"
     "         pattern  day:   --every N | --every-weekday\n"
     "                  week:  --every N --on sun,mon,tue,wed,thu,fri,sat\n"
     "                  month: --day D --every N | --nth first|second|third|fourth|last\n"
     "                         --weekday NAME --every N\n"
     "                  year:  --month NAME --day D | --nth ... --weekday NAME --month NAME",
     RunSeries},
    {"modify", "modify ID [--whole-series | --from-here] [fields]", RunModify},
    {"delete", "delete ID [--whole-series]", RunDelete},
    {"pay", "pay ID [--on DT] [--amount X] [--reference R]   defaults: now, the due's amount",
     RunPay},
    {"export",
     "export html|pdf|xlsx|docx [--month YYYY-MM] [--filter all|paid|unpaid] [--without-notes]\n"
     "         [--template FILE] --output FILE\n"
     "  export ics|csv [--month YYYY-MM | --from YYYY-MM --to YYYY-MM] [--filter ...]\n"
     "         --output FILE                    (without a month or range: every due)",
     RunExport},
    {"import",
     "import csv FILE [--dry-run]      prints the new record IDs\n"
     "  import statement FILE [--account A] [--format ofx|camt|csv] [--columns COLUMNS]\n"
     "         [--include-possible] [--dry-run] [--json]\n"
     "         marks the dues the statement paid; COLUMNS: date=N,amount=N | debit=N,credit=N\n"
     "         [,counterparty=N,description=N,reference=N], columns counted from 1",
     RunImport},
    {"print",
     "print --from YYYY-MM --to YYYY-MM [--records all|invert|paid|unpaid|reset]\n"
     "         [--account A] [--template FILE] --output FILE",
     RunPrint},
    {"conflicts", "conflicts [--json]", RunConflicts},
    {"resolve", "resolve ID --keep current|FILE", RunResolve},
    {"backup", "backup [--output FILE]          prints the backup's path", RunBackup},
    {"restore", "restore FILE [--allow-empty]    --allow-empty: also a backup without dues",
     RunRestore},
    {"find", "find TEXT [--json]", RunFind},
    {"summary", "summary --year YYYY [--by month|payee] [--json]", RunSummary},
    {"remind", "remind [--days N] [--json] [--notify [--wait SECONDS]]", RunRemind},
    {"attach", "attach ID FILE...                prints the names the files are kept under",
     RunAttach},
    {"attachments", "attachments ID [--json]", RunAttachments},
    {"detach", "detach ID NAME                   moves the attachment to the backups folder",
     RunDetach},
    {"balance", "balance [--account A] [AMOUNT [--on DT]]   shows or adds an account's balance",
     RunBalance},
    {"forecast", "forecast [--account A] [--days N] [--json]", RunForecast},
    {"suggest",
     "suggest series FILE... [--account A] [--columns COLUMNS] [--json]\n"
     "         [--create N[,N...] [--count C]]\n"
     "         the recurring bills and incomes the statements show; --create writes them as\n"
     "         series of C (12) upcoming dues and the bookings seen as paid ones",
     RunSuggest},
    {"calendar",
     "calendar sync [--url URL] [--user U] [--password-file F] [--dry-run] [--json]\n"
     "         keeps the CalDAV calendar in step with the dues; the password comes from F\n"
     "         (mode 0600) or the desktop's secret service",
     RunCalendar},
};

void PrintUsage(std::ostream& out) {
  out << "Usage: paylark-cli [--dir WORKDIR] [--no-snapshot] COMMAND [options]\n\n"
         "Keeps track of dues in WORKDIR/Paylark Files, the records folder of the Paylark\n"
         "window. WORKDIR defaults to the working directory the window saved.\n"
         "--no-snapshot reads every record file instead of trusting the snapshot of the\n"
         "unchanged ones.\n\nCommands:\n";
  for (const Command& command : kCommands)
    out << "  " << command.usage << '\n';
  out << "\nfields: " << kRecordFieldsUsage
      << "\nDT is YYYY-MM-DD[ HH:MM[:SS]].\n"
         "Exit codes: 0 success, 1 the operation failed, 2 invalid arguments.\n";
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return !path.empty() && path.back() != '/' && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void ReportSkipped(const ReloadReport& report, std::ostream& err) {
  if (!report.conflictCopies.empty()) {
    err << "paylark-cli: "
        << MessageText({MessageId::kSyncConflicts,
                        {},
                        static_cast<long long>(CountConflicts(report.conflictCopies)),
                        {}})
        << " (see conflicts)\n";
  }
  if (report.skipped.empty())
    return;
  err << "paylark-cli: "
      << MessageText({MessageId::kRecordFilesUnreadable,
                      {},
                      static_cast<long long>(report.skipped.size()),
                      {}})
      << '\n';
  for (const SkippedFile& file : report.skipped) {
    err << "  " << Printable(file.fileName) << ": " << file.reason << '\n';
  }
}

// Removes what killed attaches left, and moves what restores set aside into the backups folder.
void TidyAttachments(const RecordStore& store, const std::string& directory) {
  AttachmentStore attachments(store.files(), directory);
  attachments.RemoveStaleTemporaries();
  if (const Status released = attachments.ReleaseSetAside(BackupsFolder(directory));
      !released.ok()) {
    std::cerr << "paylark-cli: warning: attachments a restore replaced are still in \""
              << attachments.folder() << "\": " << released.message() << '\n';
  }
}

int Run(std::vector<std::string> words) {
  for (const std::string& word : words) {
    if (!IsValidUtf8(word)) {
      std::cerr << "paylark-cli: the argument \"" << Printable(word) << "\" is not valid UTF-8\n";
      return kExitInvalid;
    }
  }
  std::optional<std::string> directory;
  bool snapshot = true;
  std::size_t next = 0;
  for (; next < words.size() && words[next].starts_with("--"); ++next) {
    if (words[next] == "--help" || words[next] == "-h") {
      PrintUsage(std::cout);
      return kExitSuccess;
    }
    if (words[next] == "--no-snapshot") {
      snapshot = false;
      continue;
    }
    if (words[next] != "--dir" || next + 1 >= words.size()) {
      std::cerr << "paylark-cli: unknown option " << words[next] << " (see --help)\n";
      return kExitInvalid;
    }
    directory = words[++next];
  }
  if (next >= words.size()) {
    PrintUsage(std::cerr);
    return kExitInvalid;
  }
  const Command* command = nullptr;
  for (const Command& candidate : kCommands) {
    if (candidate.name == words[next])
      command = &candidate;
  }
  if (!command) {
    std::cerr << "paylark-cli: unknown command \"" << words[next] << "\" (see --help)\n";
    return kExitInvalid;
  }
  if (!directory)
    directory = SavedWorkingDirectory();
  if (!directory) {
    std::cerr << "paylark-cli: no working directory is set; pass --dir WORKDIR or choose one "
                 "in Paylark\n";
    return kExitFailed;
  }
  while (directory->size() > 1 && directory->back() == '/')
    directory->pop_back();
  if (!IsDirectory(*directory)) {
    std::cerr << "paylark-cli: the working directory \"" << *directory << "\" does not exist\n";
    return kExitFailed;
  }

  SystemClock clock;
  RecordStore store(clock, *directory, SystemFileSystem());
  if (const std::string cache = UserCacheFolder(); snapshot && !cache.empty())
    store.SetSnapshotFile(SnapshotPathFor(cache, RecordsFolderPath(store.workingDirectory())));
  const ReloadReport loaded = store.Reload();
  if (!loaded.folderStatus.ok()) {
    std::cerr << "paylark-cli: " << loaded.folderStatus.message() << '\n';
    return kExitFailed;
  }
  ReportSkipped(loaded, std::cerr);
  TidyAttachments(store, *directory);
  Arguments arguments(
      std::vector<std::string>(words.begin() + static_cast<long>(next) + 1, words.end()));
  CommandContext context{store, clock, std::cout, std::cerr};
  for (const std::string_view changing :
       {"add", "series", "modify", "delete", "import", "resolve", "attach", "detach", "pay"}) {
    if (command->name == changing)
      BackUpBeforeFirstChangeOfDay(context);
  }
  const int code = command->run(arguments, context);
  if (const Status marker = store.TakeMarkerFailure(); !marker.ok()) {
    std::cerr << "paylark-cli: warning: "
              << MessageText({MessageId::kMarkerWriteFailed, {}, 0, marker.message()}) << '\n';
  }
  return code;
}

}  // namespace
}  // namespace paylark::cli

int main(int argc, char** argv) {
  // Dates and amounts follow the user's locale; numbers that are parsed or written stay C.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  try {
    return paylark::cli::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::cerr << "paylark-cli: " << error.what() << '\n';
  } catch (...) {
    std::cerr << "paylark-cli: an unexpected error ended the command\n";
  }
  return paylark::cli::kExitFailed;
}

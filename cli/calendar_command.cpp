#include <QCoreApplication>
#include <clocale>
#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "core/base/format.h"
#include "core/exchange/caldav_plan.h"
#include "core/exchange/calendar_feed.h"
#include "core/io/user_folders.h"
#include "remote/calendar_sync.h"
#include "remote/secret_store.h"
#include "settings/user_settings.h"

namespace paylark::cli {
namespace {

struct SyncOptions {
  QString url;
  QString user;
  QString passwordFile;
  bool dryRun = false;
  bool json = false;
};

QString Given(const std::optional<std::string>& option, const settings::TextSetting& setting) {
  return option ? QString::fromStdString(*option) : UserSettings::Read(setting);
}

void PrintJson(const CalendarSyncReport& report, std::ostream& out) {
  out << "{\"collection\": "
      << (report.collection.isEmpty() ? "null" : JsonString(report.collection.toStdString()))
      << ", \"put\": " << report.put << ", \"deleted\": " << report.deleted
      << ", \"unchanged\": " << report.unchanged << ", \"errors\": [";
  QStringList errors = report.errors;
  if (!report.failure.isEmpty())
    errors.prepend(report.failure);
  for (qsizetype i = 0; i < errors.size(); ++i)
    out << (i == 0 ? "" : ", ") << JsonString(errors[i].toStdString());
  out << "]}\n";
}

void PrintPlain(const CalendarSyncReport& report, bool dryRun, std::ostream& out) {
  out << (dryRun ? "Would write " : "Written: ") << report.put
      << (dryRun ? ", would remove " : ", removed: ") << report.deleted
      << ", unchanged: " << report.unchanged << " (" << report.collection.toStdString() << ")\n";
}

std::string ResultText(const CalendarSyncReport& report) {
  if (!report.failure.isEmpty())
    return report.failure.toStdString();
  if (!report.errors.isEmpty())
    return std::to_string(report.errors.size()) +
           " events were refused: " + report.errors.front().toStdString();
  return std::to_string(report.put) + " written, " + std::to_string(report.deleted) + " removed, " +
         std::to_string(report.unchanged) + " unchanged";
}

int Sync(const SyncOptions& options, CommandContext& context) {
  int argc = 1;
  char name[] = "paylark-cli";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  // Qt has set the whole locale again; numbers stay in the C form.
  std::setlocale(LC_NUMERIC, "C");
  CalendarSyncRequest request;
  request.url = options.url;
  request.user = options.user;
  request.mode = options.dryRun ? SyncMode::kDryRun : SyncMode::kSend;
  request.stateFolder = QString::fromStdString(UserCacheFolder());
  if (!request.user.isEmpty()) {
    const Result<QString> password =
        ReadSecret({options.passwordFile, CalDavSecretKey(request.url, request.user)});
    if (!password.ok())
      return Fail(context, kExitFailed, password.status().message());
    request.password = password.value();
  }
  const OleDateTime now = context.clock.Now();
  const CalendarOptions calendar{now, UserSettings::Read(settings::kReminderDaysAhead),
                                 AlarmStyle::kBeforeAndAtDueTime};
  const CalendarSyncReport report =
      SyncCalendar(CalDavEvents(CalendarFeedDues(context.store, now), calendar), request);
  if (!options.dryRun) {
    UserSettings::Write(settings::kCalDavLastSync,
                        QString::fromStdString(FormatStrftime(now, "%Y-%m-%dT%H:%M:%S") + "\t" +
                                               ResultText(report)));
  }
  if (options.json)
    PrintJson(report, context.out);
  else if (report.failure.isEmpty())
    PrintPlain(report, options.dryRun, context.out);
  if (!report.failure.isEmpty())
    return Fail(context, kExitFailed, report.failure.toStdString());
  for (const QString& error : report.errors)
    context.err << "paylark-cli: " << error.toStdString() << '\n';
  return report.errors.isEmpty() ? kExitSuccess : kExitFailed;
}

}  // namespace

int RunCalendar(Arguments& arguments, CommandContext& context) {
  const auto url = arguments.TakeValue("--url");
  const auto user = arguments.TakeValue("--user");
  const auto passwordFile = arguments.TakeValue("--password-file");
  SyncOptions options;
  options.dryRun = arguments.TakeFlag("--dry-run");
  options.json = arguments.TakeFlag("--json");
  const auto action = arguments.TakePositional();
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (action != "sync")
    return UsageError(context, "calendar needs \"sync\"");
  // The reminder timer runs this every day: a calendar the window does not keep is left alone.
  if (!url && !UserSettings::Read(settings::kKeepCalDav)) {
    context.err << "paylark-cli: no CalDAV calendar is kept (Preferences > Calendar in the window, "
                   "or give --url); nothing was sent\n";
    return kExitSuccess;
  }
  options.url = Given(url, settings::kCalDavUrl);
  options.user = Given(user, settings::kCalDavUser);
  options.passwordFile = Given(passwordFile, settings::kCalDavPasswordFile);
  return Sync(options, context);
}

}  // namespace paylark::cli

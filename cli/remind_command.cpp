#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <charconv>
#include <clocale>
#include <ostream>

#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/desktop_notification.h"
#include "cli/exit_code.h"
#include "cli/forecast_text.h"
#include "cli/json_writer.h"
#include "cli/notification_slot.h"
#include "cli/reminder_push.h"
#include "cli/reminder_settings.h"
#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/forecast/low_balance_warning.h"
#include "core/records/payment.h"
#include "core/reminders/reminder_wording.h"
#include "settings/user_settings.h"

namespace paylark::cli {
namespace {

constexpr int kMaxDaysOption = 3650;
constexpr int kDefaultWaitSeconds = 600;

std::optional<int> WholeNumber(const std::string& text, int most) {
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > most)
    return std::nullopt;
  return value;
}

void PrintPlain(const std::vector<Reminder>& reminders, std::ostream& out) {
  for (const Reminder& reminder : reminders) {
    const DueRecord& r = reminder.record;
    out << r.recordId << '\t' << ListDateTime(r.dueDate) << '\t' << WhenText(reminder) << '\t'
        << r.title << '\t' << r.payTo << '\t' << FormatAmount(r.amount) << '\n';
  }
}

void PrintJson(int days, const std::vector<Reminder>& reminders, std::ostream& out) {
  out << "{\"days\": " << days << ", \"dues\": [";
  for (std::size_t i = 0; i < reminders.size(); ++i) {
    std::string object = RecordJson(reminders[i].record);
    object.insert(object.size() - 1, ", \"when\": " + JsonString(WhenText(reminders[i])));
    out << (i == 0 ? "" : ", ") << object;
  }
  out << "]}\n";
}

// The forecast's low-balance warning as the caption strip shows it, or empty.
std::string BalanceWarningLine(CommandContext& context, int daysAhead) {
  BalanceBook book(context.store.files(), RecordsFolderPath(context.store.workingDirectory()));
  LoadBalances(context, book);
  const Cents level = Cents{UserSettings::Read(settings::kForecastWarnBelow)} * 100;
  const std::optional<LowBalanceWarning> warning =
      FindLowBalanceWarning(book.entries(), context.store.map(), context.clock.Now(), level,
                            daysAhead + kWarningDaysBeyondReminders);
  return warning ? LowBalanceWarningText(*warning) : std::string();
}

Notification NotificationFor(const std::vector<Reminder>& reminders,
                             const std::string& balanceWarning) {
  Notification notification;
  notification.summary = NotificationSummary(reminders);
  notification.body = NotificationBody(reminders);
  if (!balanceWarning.empty())
    notification.body += "\n" + balanceWarning;
  notification.actions = {{"open", "Open Paylark"}, {"snooze", "Tomorrow"}};
  if (reminders.size() == 1)
    notification.actions.push_back({"paid", "Mark paid"});
  for (const Reminder& reminder : reminders)
    notification.critical = notification.critical || reminder.state == DueState::kOverdue;
  return notification;
}

// Reads the due again (the user may have taken minutes to answer) and stores it as paid.
int MarkPaid(CommandContext& context, const std::string& recordId) {
  (void)context.store.Reload();
  if (!context.store.records().Contains(recordId))
    return NoSuchDue(context, recordId);
  DueRecord record = context.store.Get(recordId);
  if (IsPaid(record))
    return kExitSuccess;
  paylark::MarkPaid(record, context.clock.Now());
  BackUpBeforeFirstChangeOfDay(context);
  const Status status = context.store.Replace(record);
  if (!status.ok()) {
    return Fail(context, kExitFailed,
                "the due " + recordId + " could not be saved: " + status.message());
  }
  return kExitSuccess;
}

// The window beside this program when there is one, else the one on the PATH.
QString WindowProgram() {
  const QFileInfo beside(QCoreApplication::applicationDirPath() + QStringLiteral("/paylark"));
  return beside.isExecutable() ? beside.filePath() : QStringLiteral("paylark");
}

int OpenWindow(CommandContext& context, const std::string& recordId) {
  const QStringList arguments = {QStringLiteral("--show-due"), QString::fromStdString(recordId)};
  if (!QProcess::startDetached(WindowProgram(), arguments))
    return Fail(context, kExitFailed, "Paylark could not be started");
  return kExitSuccess;
}

int Act(CommandContext& context, const NotificationAnswer& answer,
        const std::vector<Reminder>& reminders) {
  const std::string& firstId = reminders.front().record.recordId;
  if (answer.action == "paid")
    return MarkPaid(context, firstId);
  if (answer.action == "open")
    return OpenWindow(context, firstId);
  if (answer.action == "snooze") {
    const OleDateTime today = context.clock.Now().DateOnly();
    SaveSnoozedUntil(today.AddDays(1).value_or(today));
  }
  return kExitSuccess;
}

// Without a desktop to show it on, a reminder that reached the phone is no failure.
int ShowOnDesktop(CommandContext& context, const Notification& notification,
                  const std::vector<Reminder>& reminders, int waitSeconds,
                  const PushOutcome& pushed) {
  const std::string today = FormatStrftime(context.clock.Now(), "%Y-%m-%d");
  const NotificationAnswer answer = ShowNotification(notification, waitSeconds);
  RememberNotification(today, answer.id);
  const int failed = pushed.attempted && pushed.status.ok() ? kExitSuccess : kExitFailed;
  switch (answer.outcome) {
    case NotificationOutcome::kNoBus:
      return Fail(context, failed, MessageText(MessageId::kNoSessionBus));
    case NotificationOutcome::kNoServer:
      return Fail(context, failed,
                  MessageText({MessageId::kNoNotificationServer, {}, 0, answer.detail}));
    case NotificationOutcome::kAction:
      return Act(context, answer, reminders);
    case NotificationOutcome::kClosed:
    case NotificationOutcome::kNoAnswer:
      break;
  }
  return kExitSuccess;
}

int Notify(CommandContext& context, const std::vector<Reminder>& reminders, int daysAhead,
           int waitSeconds) {
  const auto snoozed = SnoozedUntil();
  if (reminders.empty() || (snoozed && context.clock.Now() < *snoozed))
    return kExitSuccess;
  int argc = 1;
  char name[] = "paylark-cli";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  // Qt has set the whole locale again; numbers stay in the C form.
  std::setlocale(LC_NUMERIC, "C");
  const std::string today = FormatStrftime(context.clock.Now(), "%Y-%m-%d");
  Notification notification = NotificationFor(reminders, BalanceWarningLine(context, daysAhead));
  notification.replaces = TodaysNotification(today);
  const PushOutcome pushed =
      PushReminder(notification.summary, notification.body, notification.critical);
  if (pushed.attempted && !pushed.status.ok())
    context.err << "paylark-cli: " << pushed.status.message() << '\n';
  const int code = ShowOnDesktop(context, notification, reminders, waitSeconds, pushed);
  return pushed.attempted && !pushed.status.ok() ? kExitFailed : code;
}

}  // namespace

int RunRemind(Arguments& arguments, CommandContext& context) {
  const auto daysText = arguments.TakeValue("--days");
  const bool json = arguments.TakeFlag("--json");
  const bool notify = arguments.TakeFlag("--notify");
  const auto waitText = arguments.TakeValue("--wait");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (json && notify)
    return UsageError(context, "--json and --notify cannot be combined");
  if (waitText && !notify)
    return UsageError(context, "--wait needs --notify");
  int daysAhead = UserSettings::Read(settings::kReminderDaysAhead);
  if (daysText) {
    const std::optional<int> days = WholeNumber(*daysText, kMaxDaysOption);
    if (!days) {
      return UsageError(context,
                        "--days needs a whole number from 0 to " + std::to_string(kMaxDaysOption));
    }
    daysAhead = *days;
  }
  int waitSeconds = kDefaultWaitSeconds;
  if (waitText) {
    const auto wait = WholeNumber(*waitText, 24 * 60 * 60);
    if (!wait)
      return UsageError(context, "--wait needs a number of seconds from 0 to 86400");
    waitSeconds = *wait;
  }

  const std::vector<Reminder> reminders =
      SelectReminders(context.store.map(), context.clock.Now(), daysAhead);
  if (notify)
    return Notify(context, reminders, daysAhead, waitSeconds);
  if (json) {
    PrintJson(daysAhead, reminders, context.out);
  } else if (reminders.empty()) {
    context.err << "paylark-cli: no due is overdue or due within " << daysAhead << " days\n";
  } else {
    PrintPlain(reminders, context.out);
  }
  return kExitSuccess;
}

}  // namespace paylark::cli

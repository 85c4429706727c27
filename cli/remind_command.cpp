#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <charconv>
#include <clocale>
#include <ostream>
#include <utility>

#include "cli/commands.h"
#include "cli/date_time_text.h"
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
#include "core/reminders/cancel_reminders.h"
#include "core/reminders/reminder_wording.h"
#include "remote/desktop_notification.h"
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

// What is to be reminded of: dues to pay, then contracts to cancel.
struct Reminders {
  std::vector<Reminder> dues;
  std::vector<CancelReminder> cancels;

  bool empty() const { return dues.empty() && cancels.empty(); }
};

// "now", "today", "in 1 day", "in N days".
std::string CancelWhenText(const CancelReminder& reminder) {
  if (reminder.cancelBy.now)
    return "now";
  if (reminder.daysFromToday == 0)
    return "today";
  return reminder.daysFromToday == 1 ? "in 1 day"
                                     : "in " + std::to_string(reminder.daysFromToday) + " days";
}

std::string DayText(const OleDateTime& date) {
  return IsoDateTime(date).substr(0, 10);
}

void PrintPlain(const Reminders& reminders, std::ostream& out) {
  for (const Reminder& reminder : reminders.dues) {
    const DueRecord& r = reminder.record;
    out << r.recordId << '\t' << ListDateTime(r.dueDate) << '\t' << WhenText(reminder) << '\t'
        << r.title << '\t' << r.payTo << '\t' << FormatAmount(r.amount) << '\n';
  }
  for (const CancelReminder& cancel : reminders.cancels) {
    out << cancel.record.recordId << '\t' << DayText(cancel.cancelBy.date) << '\t'
        << CancelWhenText(cancel) << '\t' << CancelReminderText(cancel) << '\n';
  }
}

std::string CancelJson(const CancelReminder& cancel) {
  return "{\"kind\": \"cancelBy\", \"recordId\": " + JsonString(cancel.record.recordId) +
         ", \"seriesId\": " + JsonString(cancel.record.seriesId) +
         ", \"title\": " + JsonString(cancel.record.title) +
         ", \"cancelBy\": " + JsonString(DayText(cancel.cancelBy.date)) +
         ", \"renewsOn\": " + JsonString(DayText(cancel.cancelBy.renewsOn)) +
         ", \"now\": " + (cancel.cancelBy.now ? "true" : "false") +
         ", \"when\": " + JsonString(CancelWhenText(cancel)) +
         ", \"text\": " + JsonString(CancelReminderText(cancel)) + "}";
}

// Contracts to cancel follow the dues, in cancel-by order.
void PrintJson(int days, const Reminders& reminders, std::ostream& out) {
  out << "{\"days\": " << days << ", \"dues\": [";
  const char* separator = "";
  for (const Reminder& reminder : reminders.dues) {
    std::string object = RecordJson(reminder.record);
    object.insert(object.size() - 1, ", \"when\": " + JsonString(WhenText(reminder)));
    out << std::exchange(separator, ", ") << object;
  }
  for (const CancelReminder& cancel : reminders.cancels)
    out << std::exchange(separator, ", ") << CancelJson(cancel);
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

// The dues' summary and body, then a line per contract to cancel ("Cancel Gym by ..."); with
// contracts alone, the first one's text is the summary.
Notification NotificationFor(const Reminders& reminders, const std::string& balanceWarning) {
  Notification notification;
  std::vector<std::string> lines;
  if (!reminders.dues.empty()) {
    notification.summary = NotificationSummary(reminders.dues);
    lines.push_back(NotificationBody(reminders.dues));
  } else {
    notification.summary = reminders.cancels.size() == 1
                               ? CancelReminderText(reminders.cancels.front())
                               : std::to_string(reminders.cancels.size()) + " contracts to cancel";
  }
  for (const CancelReminder& cancel : reminders.cancels)
    lines.push_back(CancelReminderText(cancel));
  if (!balanceWarning.empty())
    lines.push_back(balanceWarning);
  for (const std::string& line : lines)
    notification.body += (notification.body.empty() ? "" : "\n") + line;
  notification.actions = {{"open", "Open Paylark"}, {"snooze", "Tomorrow"}};
  if (reminders.dues.size() == 1 && reminders.cancels.empty())
    notification.actions.push_back({"paid", "Mark paid"});
  for (const Reminder& reminder : reminders.dues)
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

int Act(CommandContext& context, const NotificationAnswer& answer, const Reminders& reminders) {
  const std::string& firstId = reminders.dues.empty() ? reminders.cancels.front().record.recordId
                                                      : reminders.dues.front().record.recordId;
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
                  const Reminders& reminders, int waitSeconds, const PushOutcome& pushed) {
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

int Notify(CommandContext& context, const Reminders& reminders, int daysAhead, int waitSeconds) {
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

  const Reminders reminders = {
      SelectReminders(context.store.map(), context.clock.Now(), daysAhead),
      SelectCancelReminders(context.store.map(), context.clock.Now(), daysAhead)};
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

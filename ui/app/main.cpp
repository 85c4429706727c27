#include <fontconfig/fontconfig.h>

#include <clocale>
#include <cstdio>
#include <exception>
#include <future>
#include <thread>

#include <QApplication>
#include <QCommandLineParser>

#include "core/base/messages.h"
#include "settings/setting_catalogue.h"
#include "ui/app/editor_dialog_commands.h"
#include "ui/app/quit_on_signal.h"
#include "ui/app/start_up.h"
#include "ui/app/statement_service_factory.h"
#include "ui/attachments/attached_dues.h"
#include "ui/base/application_icon.h"
#include "ui/base/message_box_prompt.h"
#include "ui/base/paylark_app.h"
#include "ui/base/resources.h"
#include "ui/base/start_load.h"
#include "ui/base/start_timeline.h"
#include "ui/base/system_desktop_services.h"
#include "ui/bills/new_due_from_bill_command.h"
#include "ui/forecast/forecast_command.h"
#include "ui/shell/main_window.h"
#include "ui/statements/find_recurring_command.h"
#include "ui/statements/statement_import_command.h"
#include "ui/sync/folder_watcher.h"
#include "ui/sync/single_instance.h"
#include "ui/sync/sync_commands.h"
#include "ui/widgets/display_style.h"

namespace {

void SetUpApplication(QApplication& application) {
  // Qt has set the whole locale from the environment; numbers stay in the C form.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QString::fromLatin1(paylark::settings::kApplication));
  QApplication::setOrganizationName(QString::fromLatin1(paylark::settings::kOrganization));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.paylark.Paylark"));
  paylark::InitResources();
  paylark::ApplyDisplayStyle(application);
  QApplication::setWindowIcon(paylark::SvgIcon(QStringLiteral("org.paylark.Paylark")));
}

// --show-due ID: open at the due's month with the due selected.
const QCommandLineOption& ShowDueOption() {
  static const QCommandLineOption option(
      QStringLiteral("show-due"), QStringLiteral("Open at the due's month with the due selected."),
      QStringLiteral("ID"));
  return option;
}

// The due the command line asks to show; empty for none. --help prints and ends the program.
QString DueToShow(const QApplication& application) {
  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral("Paylark keeps track of your dues."));
  options.addHelpOption();
  options.addOption(ShowDueOption());
  options.process(application);
  return options.value(ShowDueOption());
}

// --show-due ID: the due's month with the due selected.
void GoToDue(paylark::MainWindow& frame, const QString& recordId) {
  if (!recordId.isEmpty() && !frame.GoToDue(recordId)) {
    frame.ShowNote(QString::fromStdString(
        paylark::MessageText({paylark::MessageId::kDueNotFound, recordId.toStdString(), 0, {}})));
  }
}

// A second start on the same working directory raises this window, and its --show-due goes here.
void FollowHandedOverStarts(paylark::SingleInstance& instance, paylark::MainWindow& frame) {
  QObject::connect(
      &instance, &paylark::SingleInstance::Activated, &frame,
      [&frame](const QStringList& arguments) {
        frame.setWindowState((frame.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        frame.raise();
        frame.activateWindow();
        QCommandLineParser handed;
        handed.addOption(ShowDueOption());
        if (handed.parse(QStringList{QStringLiteral("paylark")} + arguments))
          GoToDue(frame, handed.value(ShowDueOption()));
      });
}

int Run(int argc, char* argv[]) {
  paylark::MarkStart("main entered");
  // The window's first font reads the fontconfig configuration (about 10 ms of XML at every
  // start); read on the other core while the application is made, it is there when asked for.
  const std::jthread fontConfiguration([] { (void)FcInit(); });
  QApplication application(argc, argv);
  paylark::MarkStart("application made");
  SetUpApplication(application);
  paylark::MarkStart("style and icon ready");
  // Creating the window draws the window manager's icon at four sizes from its SVG; drawn on the
  // other core while the window is made, it is ready by then.
  std::future<std::vector<QImage>> windowIcon =
      std::async(std::launch::async, paylark::DrawApplicationIcon);
  // A logout's SIGTERM or a terminal's Ctrl+C closes every window as the user would, so the
  // window state is saved; one that arrives before the event loop runs is handled when it starts.
  paylark::QuitOnSignal quitOnSignal;
  QObject::connect(&quitOnSignal, &paylark::QuitOnSignal::QuitRequested, &application, [] {
    QApplication::closeAllWindows();
    QApplication::quit();
  });

  const QString dueToShow = DueToShow(application);

  paylark::SystemClock clock;
  paylark::MessageBoxPrompt prompt;
  paylark::SystemDesktopServices desktop;
  paylark::PaylarkApp app(clock, prompt, desktop, paylark::SystemFileSystem());
  paylark::EditorDialogCommands dialogs(app);
  paylark::StartLoad load(app);
  // The records folder is watched while the records are mapped, on the other core: at a million
  // files the kernel's marking of the entries is over before the window is shown.
  paylark::FolderWatcher watcher;
  load.BeforeReading(
      [&watcher](const QString& recordsFolder) { watcher.WatchInBackground(recordsFolder); });

  const paylark::StartUpResult start = paylark::StartUp(app, load, [&app](const QString& initial) {
    return paylark::AskForWorkingDirectory(app, initial);
  });
  // A signal heard by a long load's progress found no event loop to end: no window then.
  if (start.outcome == paylark::StartUpOutcome::kEnd || quitOnSignal.requested())
    return 0;
  paylark::MarkStart("records mapped");

  // One window per working directory: a second start hands its arguments to the first.
  paylark::SingleInstance instance(QString::fromStdString(app.workingDirectory()));
  if (instance.Claim(QApplication::arguments().mid(1)) ==
      paylark::SingleInstance::Role::kHandedOver) {
    return 0;
  }

  // The window's first paint draws about thirty of its icons: parsed on the other core while the
  // window is shown, they are ready by then.
  paylark::IconsParsedAhead icons;
  paylark::WindowPolicies policies;
  // Change Directory takes the new folder's lock before it lets go of the old one.
  policies.claimDirectory = [&instance](const QString& folder) { return instance.MoveTo(folder); };
  paylark::MainWindow frame(app, dialogs, std::move(policies));
  paylark::MarkStart("window made");
  paylark::SyncCommands sync(app, frame, watcher);
  paylark::AttachedDues attachedDues(app, frame);
  paylark::ForecastCommand forecast(app, frame);
  paylark::StatementImportCommand statements(app, frame, paylark::MakeStatementServices(app));
  paylark::FindRecurringCommand recurringBills(app, frame, paylark::MakeStatementServices(app));
  QObject::connect(&statements, &paylark::StatementImportCommand::recurringBillsWanted,
                   &recurringBills, [&recurringBills](const paylark::Statement& unmatched) {
                     (void)recurringBills.FindIn({unmatched});
                   });
  paylark::NewDueFromBillCommand dueFromBill(app, frame);
  paylark::MarkStart("features made");
  icons.ParseOnWorker();
  FollowHandedOverStarts(instance, frame);
  frame.ShowNote(start.reloadNote);
  GoToDue(frame, dueToShow);
  QApplication::setWindowIcon(paylark::ApplicationIcon(windowIcon.get()));
  frame.showMaximized();
  paylark::MarkStart("window shown");
  // The records shown may have come from the snapshot: the folder is checked behind the window.
  sync.FollowStart(load);
  forecast.FollowStart(load);
  return application.exec();
}

}  // namespace

// Nothing may leave main as an exception (an allocation that fails on a hostile file would
// abort): it ends the program with a message and exit code 1.
int main(int argc, char* argv[]) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "paylark: %s\n", error.what());
  } catch (...) {
    std::fprintf(stderr, "paylark: an unexpected error ended the program\n");
  }
  return 1;
}

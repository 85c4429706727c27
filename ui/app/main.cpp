#include <clocale>

#include <QApplication>

#include "ui/app/message_box_prompt.h"
#include "ui/app/paylark_app.h"
#include "ui/app/resources.h"
#include "ui/app/start_up.h"
#include "ui/app/system_desktop_services.h"
#include "ui/editor/editor_hooks.h"
#include "ui/print/print_command.h"
#include "ui/shell/main_frame.h"
#include "ui/widgets/display_style.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // Qt has set the whole locale from the environment; numbers stay in the C form.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Paylark"));
  QApplication::setOrganizationName(QStringLiteral("Velmora"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.paylark.Paylark"));
  paylark::InitResources();
  paylark::ApplyDisplayStyle(application);
  QApplication::setWindowIcon(paylark::SvgIcon(QStringLiteral("org.paylark.Paylark")));

  paylark::SystemClock clock;
  paylark::MessageBoxPrompt prompt;
  paylark::SystemDesktopServices desktop;
  paylark::CPaylarkApp app(clock, prompt, desktop);
  paylark::InstallEditorHooks(app.hooks());
  app.hooks().print = paylark::RunPrintDues;

  const paylark::StartUpResult start = paylark::StartUp(app, [&app](const QString& initial) {
    return paylark::AskForWorkingDirectory(app, initial);
  });
  if (start.outcome == paylark::StartUpOutcome::kEnd)
    return 0;

  paylark::CMainFrame frame(app);
  frame.ShowNote(start.reloadNote);
  frame.showMaximized();
  return application.exec();
}

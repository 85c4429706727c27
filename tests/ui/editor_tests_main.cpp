#include <clocale>
#include <cstdlib>

#include <QApplication>
#include <QTest>

#include "tests/ui/editor_tests.h"
#include "tests/ui/fakes.h"
#include "ui/app/resources.h"
#include "ui/widgets/display_style.h"

// Runs the due editor's tests in one offscreen application, under the en_US locale.
int main(int argc, char* argv[]) {
  setenv("LC_ALL", "en_US.UTF-8", 1);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  paylark::InitResources();
  paylark::ApplyDisplayStyle(application);
  paylark::test::UseFreshSettings();

  int failures = 0;
  {
    paylark::test::InputControlsTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    paylark::test::RecurrenceDialogTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    paylark::test::NewDueTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    paylark::test::ModifyDueTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}

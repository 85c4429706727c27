#include <clocale>
#include <cstdlib>

#include <QApplication>
#include <QTest>

#include "tests/ui/fakes.h"
#include "tests/ui/ui_tests.h"
#include "ui/app/resources.h"
#include "ui/widgets/display_style.h"

// Runs every window test class in one offscreen application, under the en_US locale.
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
    paylark::test::StartUpTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    paylark::test::MonthRowTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    paylark::test::MainFrameTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}

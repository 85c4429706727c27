#include <QTest>

#include "tests/ui/test_application.h"
#include "tests/ui/ui_tests.h"

// Runs every window test class in one offscreen application, under the en_US locale.
int main(int argc, char* argv[]) {
  paylark::test::TestApplication application(argc, argv);

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
  {
    paylark::test::OverviewTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}

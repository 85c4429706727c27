#include <QTest>

#include "tests/ui/editor_tests.h"
#include "tests/ui/test_application.h"

// Runs the due editor's tests in one offscreen application, under the en_US locale.
int main(int argc, char* argv[]) {
  paylark::test::TestApplication application(argc, argv);

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

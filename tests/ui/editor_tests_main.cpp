#include "tests/ui/editor_tests.h"
#include "tests/ui/test_runner.h"

// The due editor's test classes, run in one offscreen application under the en_US locale.
int main(int argc, char* argv[]) {
  paylark::test::InputControlsTest inputControls;
  paylark::test::RecurrenceDialogTest recurrenceDialog;
  paylark::test::NewDueTest newDue;
  paylark::test::ModifyDueTest modifyDue;
  paylark::test::MarkPaidTest markPaid;
  return paylark::test::RunTestClasses(
      argc, argv, {&inputControls, &recurrenceDialog, &newDue, &modifyDue, &markPaid});
}

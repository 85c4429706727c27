#include "tests/ui/test_runner.h"
#include "tests/ui/ui_tests.h"

// The window's test classes, run in one offscreen application under the en_US locale.
int main(int argc, char* argv[]) {
  paylark::test::StartUpTest startUp;
  paylark::test::MonthRowTest monthRow;
  paylark::test::MainFrameTest mainFrame;
  paylark::test::OverviewTest overview;
  paylark::test::ForecastWindowTest forecast;
  return paylark::test::RunTestClasses(argc, argv,
                                       {&startUp, &monthRow, &mainFrame, &overview, &forecast});
}

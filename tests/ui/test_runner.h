#pragma once

#include <QObject>
#include <initializer_list>

namespace paylark::test {

// The main of a window test program that holds several test classes, in the offscreen test
// application. With no function names every test function of every class runs; with names
// ("program ShiftingMonthsRefreshesAndClamps"), only those, each in its own class; any other
// argument goes to every class's QTest run. "program -list-tests" prints one "Class.function"
// line per test function, for CTest, without starting the application.
int RunTestClasses(int argc, char* argv[], std::initializer_list<QObject*> classes);

}  // namespace paylark::test

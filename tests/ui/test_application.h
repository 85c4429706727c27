#pragma once

#include <QApplication>

namespace paylark::test {

// Sets what the application must find when it starts: the offscreen platform (unless another is
// asked for) and the en_US locale.
struct TestEnvironment {
  TestEnvironment();
};

// The application every window test program runs in: its environment, C numbers, Paylark's
// resources and display style, and settings in a fresh temporary folder.
class TestApplication : private TestEnvironment {
 public:
  TestApplication(int& argc, char** argv);

 private:
  QApplication application_;
};

}  // namespace paylark::test

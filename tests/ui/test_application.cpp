#include "tests/ui/test_application.h"

#include <clocale>
#include <cstdlib>

#include "tests/ui/fakes.h"
#include "ui/base/resources.h"
#include "ui/widgets/display_style.h"

namespace paylark::test {

TestEnvironment::TestEnvironment() {
  setenv("LC_ALL", "en_US.UTF-8", 1);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

TestApplication::TestApplication(int& argc, char** argv) : application_(argc, argv) {
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  InitResources();
  ApplyDisplayStyle(application_);
  UseFreshSettings();
}

}  // namespace paylark::test

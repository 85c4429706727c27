#include "tests/support/scoped_locale.h"

#include <clocale>

namespace paylark::testing {

ScopedLocale::ScopedLocale(const char* name, Numbers numbers)
    : previous_(std::setlocale(LC_ALL, nullptr)), ok_(std::setlocale(LC_ALL, name) != nullptr) {
  if (numbers == Numbers::kC)
    std::setlocale(LC_NUMERIC, "C");
}

ScopedLocale::~ScopedLocale() {
  std::setlocale(LC_ALL, previous_.c_str());
}

}  // namespace paylark::testing

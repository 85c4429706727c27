#pragma once

#include <string>

namespace paylark::testing {

// Sets the whole C locale (LC_ALL) for as long as it lives, and the one before it again
// afterwards, so a test that formats by the user's locale says which one and leaves none behind.
// With Numbers::kC the numbers stay in the C form, as the program keeps them. ok() is false where
// the locale is not installed (locales-all).
class ScopedLocale {
 public:
  enum class Numbers { kLocale, kC };

  explicit ScopedLocale(const char* name, Numbers numbers = Numbers::kLocale);
  ~ScopedLocale();
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

  bool ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_;
};

}  // namespace paylark::testing

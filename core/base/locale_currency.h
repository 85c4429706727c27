#pragma once

#include <string>

namespace paylark {

// The ISO 4217 code of the process locale's LC_MONETARY currency ("EUR" under de_DE.UTF-8,
// "USD" under en_US.UTF-8); empty in a locale without one (C).
std::string LocaleCurrencyCode();

}  // namespace paylark

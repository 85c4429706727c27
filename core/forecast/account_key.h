#pragma once

#include <string>
#include <string_view>

namespace paylark {

// The account a due or balance entry belongs to, as the forecast compares them: white space
// around it and letter case do not make another account. Empty is the "(no account)" group.
std::string AccountKey(std::string_view account);

}  // namespace paylark

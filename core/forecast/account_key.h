#pragma once

#include <map>
#include <string>
#include <string_view>

#include "core/records/due_map.h"

namespace paylark {

// The account a due or balance entry belongs to, as the forecast compares them: white space
// around it and letter case do not make another account. Empty is the "(no account)" group.
std::string AccountKey(std::string_view account);

// Every account the dues name, by key (none empty), each as the first due in map order writes
// it. Each distinct name is folded once, and no due is unpacked.
std::map<std::string, std::string> AccountsByKey(const DueMap& dues);

}  // namespace paylark

#pragma once

#include <string>
#include <vector>

namespace paylark {

// Where template files are looked up, file by file, in this order: the user's own edited copies
// ($XDG_DATA_HOME/paylark/Templates), the folder beside the executable (a build tree or a
// portable copy), the installed copy (<datadir>/paylark/Templates).
std::vector<std::string> TemplateFolders();

}  // namespace paylark

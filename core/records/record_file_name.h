#pragma once

#include <string>
#include <string_view>

namespace paylark {

// "duedate<ID>.due", the ID trimmed: the name a record file is given.
std::string RecordFileName(std::string_view recordId);

// Whether the file has the name a record file with this ID is given.
bool IsNamedAfter(std::string_view fileName, std::string_view recordId);

}  // namespace paylark

#pragma once

#include <set>
#include <string>
#include <string_view>

#include "core/base/status.h"

namespace paylark {

// The name an added file is kept under: its own name with every "/" and control character
// replaced by "_" and leading dots dropped, so that it is a plain, visible name in any folder.
// A name that is empty or only dots is InvalidArgument. A name longer than a file name may be
// is shortened in front of its extension, never inside a UTF-8 character.
Result<std::string> SafeAttachmentName(std::string_view fileName);

// The name itself when no file of the folder has it, else the first free of "bill (2).pdf",
// "bill (3).pdf", ...
std::string FreeAttachmentName(const std::string& name, const std::set<std::string>& taken);

// The name with its number: "bill.pdf", 2 gives "bill (2).pdf"; 1 gives the name itself.
std::string NumberedName(const std::string& name, int number);

}  // namespace paylark

#include "core/attachments/attachment_names.h"

#include <algorithm>

namespace paylark {
namespace {

// Leaves room for " (99)" within the 255 bytes a file name may have.
constexpr std::size_t kLongestName = 240;

bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7f;
}

// Where the extension starts: at the last dot, unless that dot starts the name.
std::size_t ExtensionStart(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name.size() : dot;
}

// The length cut back to the start of a UTF-8 character.
std::size_t CharacterBoundary(const std::string& text, std::size_t length) {
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
    --length;
  return length;
}

std::string Shortened(const std::string& name) {
  if (name.size() <= kLongestName)
    return name;
  std::string extension = name.substr(ExtensionStart(name));
  if (extension.size() > kLongestName / 2)
    extension.clear();
  const std::size_t stem = CharacterBoundary(name, kLongestName - extension.size());
  return name.substr(0, stem) + extension;
}

}  // namespace

Result<std::string> SafeAttachmentName(std::string_view fileName) {
  std::string name;
  for (const char c : fileName)
    name += c == '/' || IsControl(static_cast<unsigned char>(c)) ? '_' : c;
  const std::size_t visible = name.find_first_not_of('.');
  if (visible == std::string::npos) {
    return Status::InvalidArgument("\"" + std::string(fileName) +
                                   "\" is no name a file can be kept under");
  }
  return Shortened(name.substr(visible));
}

std::string NumberedName(const std::string& name, int number) {
  if (number <= 1)
    return name;
  const std::size_t extension = ExtensionStart(name);
  return name.substr(0, extension) + " (" + std::to_string(number) + ")" + name.substr(extension);
}

std::string FreeAttachmentName(const std::string& name, const std::set<std::string>& taken) {
  for (int number = 1;; ++number) {
    std::string candidate = NumberedName(name, number);
    if (!taken.contains(candidate))
      return candidate;
  }
}

}  // namespace paylark

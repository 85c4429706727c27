#include "core/statements/bank_csv_text.h"

#include <algorithm>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

Status UnknownEncoding() {
  return Status::InvalidArgument(
      "The file is not text in an encoding Paylark can tell (UTF-8, UTF-16 or Windows-1252). "
      "Export the statement from the bank again as CSV in UTF-8.");
}

std::u16string Utf16Units(std::string_view bytes, bool littleEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    units.push_back(
        static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second));
  }
  return units;
}

bool IsUnassignedIn1252(unsigned char c) {
  return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

}  // namespace

Result<BankCsvText> DecodeBankCsvText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF"))
    bytes.remove_prefix(3);
  else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
    return BankCsvText{Utf16ToUtf8(Utf16Units(bytes.substr(2), bytes[0] == '\xFF')), "UTF-16"};
  if (bytes.find('\0') != std::string_view::npos)
    return UnknownEncoding();
  if (IsValidUtf8(bytes))
    return BankCsvText{std::string(bytes), "UTF-8"};
  if (std::any_of(bytes.begin(), bytes.end(),
                  [](char c) { return IsUnassignedIn1252(static_cast<unsigned char>(c)); }))
    return UnknownEncoding();
  return BankCsvText{Windows1252ToUtf8(bytes), "Windows-1252"};
}

}  // namespace paylark

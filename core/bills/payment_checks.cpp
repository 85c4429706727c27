#include "core/bills/payment_checks.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace paylark {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsAlphanumeric(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || IsUpper(c); });
}

// ISO 7064 mod 97-10 of the code with its first four characters moved to the end and each
// letter read as two digits (A = 10 .. Z = 35): 1 for a sound code.
int Mod97(std::string_view compact) {
  const std::string rotated = std::string(compact.substr(4)) + std::string(compact.substr(0, 4));
  int remainder = 0;
  for (const char c : rotated) {
    const int value = IsDigit(c) ? c - '0' : c - 'A' + 10;
    remainder = (remainder * (value < 10 ? 10 : 100) + value) % 97;
  }
  return remainder;
}

}  // namespace

std::string CompactCode(std::string_view text) {
  std::string compact;
  for (const char c : text) {
    if (c != ' ' && c != '\t')
      compact += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return compact;
}

std::string GroupsOfFour(std::string_view compact) {
  std::string grouped;
  for (std::size_t i = 0; i < compact.size(); ++i) {
    if (i > 0 && i % 4 == 0)
      grouped += ' ';
    grouped += compact[i];
  }
  return grouped;
}

bool IsValidIban(std::string_view compact) {
  if (compact.size() < 15 || compact.size() > 34 || !IsAlphanumeric(compact))
    return false;
  if (!IsUpper(compact[0]) || !IsUpper(compact[1]) || !IsDigit(compact[2]) || !IsDigit(compact[3]))
    return false;
  return Mod97(compact) == 1;
}

bool IsValidCreditorReference(std::string_view compact) {
  if (compact.size() < 5 || compact.size() > 25 || !compact.starts_with("RF") ||
      !IsAlphanumeric(compact) || !IsDigit(compact[2]) || !IsDigit(compact[3]))
    return false;
  return Mod97(compact) == 1;
}

bool IsValidQrReference(std::string_view compact) {
  if (compact.size() != 27 || !std::all_of(compact.begin(), compact.end(), IsDigit))
    return false;
  static constexpr std::array<int, 10> kTable = {0, 9, 4, 6, 8, 2, 7, 1, 3, 5};
  int carry = 0;
  for (std::size_t i = 0; i + 1 < compact.size(); ++i)
    carry = kTable[static_cast<std::size_t>((carry + compact[i] - '0') % 10)];
  return (10 - carry) % 10 == compact.back() - '0';
}

}  // namespace paylark

#pragma once

#include <string>
#include <string_view>

namespace paylark {

// A code as the checks read it: blanks left out, letters in capitals.
std::string CompactCode(std::string_view text);
// "DE44500105175407324931" as "DE44 5001 0517 5407 3249 31", the way bills print it.
std::string GroupsOfFour(std::string_view compact);

// The checks a payer's bank makes, on compact codes. An IBAN: country letters, two check digits,
// up to 30 letters and digits, the whole mod 97 giving 1 (ISO 13616). An RF creditor reference:
// "RF", two check digits, up to 21 letters and digits, mod 97 giving 1 (ISO 11649). A Swiss QR
// reference: 27 digits whose last is the recursive mod 10 check digit of the 26 before it.
bool IsValidIban(std::string_view compact);
bool IsValidCreditorReference(std::string_view compact);
bool IsValidQrReference(std::string_view compact);

}  // namespace paylark

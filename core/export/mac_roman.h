#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace paylark {

// UTF-8 text in the PDF's MacRomanEncoding, one byte per character. Carriage returns and line
// feeds stay; every other character the encoding lacks (controls, "€", most of Unicode) becomes
// "?", as do invalid UTF-8 bytes.
std::string Utf8ToMacRoman(std::string_view utf8);
// The MacRoman code of one character (CR and LF as themselves), or -1 when the encoding lacks it.
int MacRomanCodeOf(std::uint32_t codePoint);

}  // namespace paylark

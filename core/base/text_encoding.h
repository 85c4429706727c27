#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace paylark {

bool IsValidUtf8(std::string_view bytes);
// Older Western-European record files hold Windows-1252 text.
std::string Windows1252ToUtf8(std::string_view bytes);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);
// Appends the UTF-8 form of one code point (U+FFFD for values that are not characters).
void AppendUtf8(std::string& out, std::uint32_t codePoint);
// The text without leading and trailing white space (blank, tab, CR, LF, VT, FF).
std::string_view TrimWhiteSpace(std::string_view text);
// Reads one code point from UTF-8 at pos and advances pos; invalid bytes give U+FFFD.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& pos);

}  // namespace paylark

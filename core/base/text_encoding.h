#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace paylark {

bool IsValidUtf8(std::string_view bytes);
// Older Western-European record files hold Windows-1252 text.
std::string Windows1252ToUtf8(std::string_view bytes);
// Text the C library gives under the process locale (month names, currency symbols, AM/PM) in
// UTF-8: converted with iconv from the locale's character set (nl_langinfo(CODESET)), so a
// single-byte locale such as de_DE@euro never puts raw ISO-8859-15 bytes into a document. Text
// that cannot be converted is read as Windows-1252.
std::string LocaleTextToUtf8(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);
// Appends the UTF-8 form of one code point (U+FFFD for values that are not characters).
void AppendUtf8(std::string& out, std::uint32_t codePoint);
// The text without leading and trailing white space (blank, tab, CR, LF, VT, FF).
std::string_view TrimWhiteSpace(std::string_view text);
// Reads one code point from UTF-8 at pos and advances pos; invalid bytes give U+FFFD.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& pos);

}  // namespace paylark

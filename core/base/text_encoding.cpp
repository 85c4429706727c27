#include "core/base/text_encoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace paylark {
namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes, which map to themselves.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int SequenceLength(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<std::string> Iconv(const char* fromCharset, std::string_view text) {
  const iconv_t converter = iconv_open("UTF-8", fromCharset);
  // iconv_open reports a failure as the pointer (iconv_t)-1.
  if (converter == reinterpret_cast<iconv_t>(-1))  // NOLINT(performance-no-int-to-ptr)
    return std::nullopt;
  // No single-byte or double-byte character set needs more than four UTF-8 bytes per input byte.
  std::string out(text.size() * 4 + 4, '\0');
  std::string in(text);
  char* inPointer = in.data();
  std::size_t inLeft = in.size();
  char* outPointer = out.data();
  std::size_t outLeft = out.size();
  const std::size_t converted = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
  iconv_close(converter);
  if (converted == static_cast<std::size_t>(-1))
    return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::string LocaleTextToUtf8(std::string_view text) {
  if (IsAscii(text))
    return std::string(text);
  const char* charset = nl_langinfo(CODESET);
  if (std::strcmp(charset, "UTF-8") == 0)
    return std::string(text);
  if (std::optional<std::string> converted = Iconv(charset, text))
    return *std::move(converted);
  return IsValidUtf8(text) ? std::string(text) : Windows1252ToUtf8(text);
}

std::uint32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const int length = SequenceLength(lead);
  if (length == 0 || pos + static_cast<std::size_t>(length) > text.size()) {
    ++pos;
    return kReplacement;
  }
  if (length == 1) {
    ++pos;
    return lead;
  }
  std::uint32_t cp = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  static constexpr std::uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += static_cast<std::size_t>(length);
  return cp;
}

std::string_view TrimWhiteSpace(std::string_view text) {
  constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

bool IsValidUtf8(std::string_view bytes) {
  // Most texts are ASCII: those are skipped a byte at a time without decoding.
  std::size_t pos = 0;
  while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80)
    ++pos;
  while (pos < bytes.size()) {
    const std::size_t before = pos;
    const std::uint32_t cp = NextCodePoint(bytes, pos);
    if (cp == kReplacement && bytes.compare(before, 3, "\xEF\xBF\xBD") != 0)
      return false;
  }
  return true;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    cp = kReplacement;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    std::uint32_t cp = b;
    if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0)
      cp = kCp1252High[b - 0x80];
    AppendUtf8(out, cp);
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 3);
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace paylark

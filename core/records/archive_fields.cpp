#include "core/records/archive_fields.h"

#include <cmath>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

std::string DecodeUtf16(std::string_view raw) {
  std::u16string units(raw.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  }
  return Utf16ToUtf8(units);
}

}  // namespace

void AppendArchiveString(std::string& out, std::string_view text) {
  const std::size_t length = text.size();
  if (length < 255) {
    out += static_cast<char>(length);
  } else if (length < 0xFFFE) {
    out += '\xFF';
    AppendLittleEndian<std::uint16_t>(out, static_cast<std::uint16_t>(length));
  } else {
    out += '\xFF';
    AppendLittleEndian<std::uint16_t>(out, 0xFFFF);
    AppendLittleEndian<std::uint32_t>(out, static_cast<std::uint32_t>(length));
  }
  out.append(text);
}

void AppendArchiveDate(std::string& out, const OleDateTime& date) {
  AppendLittleEndian<std::int32_t>(out, static_cast<std::int32_t>(date.status()));
  AppendLittleEndian<double>(out, date.value());
}

bool ArchiveReader::ReadString(std::string& text) {
  std::string_view view;
  if (!ReadText(view, text))
    return false;
  if (view.data() != text.data())
    text.assign(view);
  return true;
}

bool ArchiveReader::ReadText(std::string_view& text, std::string& converted) {
  bool wide = false;
  std::uint64_t length = 0;
  if (!ReadLength(wide, length))
    return false;
  const std::uint64_t byteCount = wide ? length * 2 : length;
  if (byteCount > bytes_.size() - pos_)
    return Fail("a length prefix runs past the end");
  const std::string_view raw = bytes_.substr(pos_, byteCount);
  pos_ += byteCount;
  if (!wide && IsValidUtf8(raw)) {
    text = raw;
    return true;
  }
  converted = wide ? DecodeUtf16(raw) : Windows1252ToUtf8(raw);
  text = converted;
  return true;
}

bool ArchiveReader::ReadDate(OleDateTime& date) {
  std::int32_t status = 0;
  double value = 0;
  if (!Read(status) || !Read(value))
    return false;
  if (!std::isfinite(value))
    return Fail("a date is not a number");
  date = OleDateTime(value, static_cast<OleDateTime::Status>(status));
  return true;
}

bool ArchiveReader::Fail(std::string reason) {
  if (error_.empty())
    error_ = std::move(reason);
  return false;
}

// The archive's length prefix; 0xFF 0xFFFE announces a UTF-16 string and a new prefix.
bool ArchiveReader::ReadLength(bool& wide, std::uint64_t& length) {
  for (;;) {
    std::uint8_t small = 0;
    if (!Read(small))
      return false;
    if (small < 0xFF) {
      length = small;
      return true;
    }
    std::uint16_t medium = 0;
    if (!Read(medium))
      return false;
    if (medium == 0xFFFE) {
      if (wide)
        return Fail("a string has two UTF-16 markers");
      wide = true;
      continue;
    }
    if (medium < 0xFFFF) {
      length = medium;
      return true;
    }
    std::uint32_t large = 0;
    if (!Read(large))
      return false;
    length = large;
    return true;
  }
}

}  // namespace paylark

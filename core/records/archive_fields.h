#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/base/ole_date_time.h"

namespace paylark {

// The field encodings record files and balance entries share: little-endian numbers,
// length-prefixed strings (narrow, or UTF-16 behind a marker) and dates as a status and a day
// count (see docs/record-format.md).

template <class T>
void AppendLittleEndian(std::string& out, T value) {
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  if constexpr (std::endian::native == std::endian::big)
    std::reverse(bytes, bytes + sizeof(T));
  out.append(reinterpret_cast<const char*>(bytes), sizeof(T));
}

// The number at the start of bytes, which must hold at least sizeof(T) of them.
template <class T>
T LittleEndianAt(std::string_view bytes) {
  unsigned char raw[sizeof(T)];
  std::memcpy(raw, bytes.data(), sizeof(T));
  if constexpr (std::endian::native == std::endian::big)
    std::reverse(raw, raw + sizeof(T));
  T value;
  std::memcpy(&value, raw, sizeof(T));
  return value;
}

// Writes UTF-8 text with the narrow length prefix.
void AppendArchiveString(std::string& out, std::string_view text);
void AppendArchiveDate(std::string& out, const OleDateTime& date);

// Reads fields in order; the first failure is kept as the reason and every later read fails.
class ArchiveReader {
 public:
  explicit ArchiveReader(std::string_view bytes) : bytes_(bytes) {}

  template <class T>
  bool Read(T& value) {
    if (bytes_.size() - pos_ < sizeof(T))
      return Fail("the file ends early");
    value = LittleEndianAt<T>(bytes_.substr(pos_));
    pos_ += sizeof(T);
    return true;
  }

  // Text is returned as UTF-8: narrow text that is not UTF-8 is read as Windows-1252.
  bool ReadString(std::string& text);
  // The same as a view: of the bytes themselves where they are UTF-8 already, otherwise of
  // `converted`, which then holds the text.
  bool ReadText(std::string_view& text, std::string& converted);
  // Fails on a day count that is not a finite number.
  bool ReadDate(OleDateTime& date);
  bool Fail(std::string reason);

  const std::string& error() const { return error_; }
  std::string_view Rest() const { return bytes_.substr(pos_); }

 private:
  bool ReadLength(bool& wide, std::uint64_t& length);

  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::string error_;
};

}  // namespace paylark

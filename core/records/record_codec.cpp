#include "core/records/record_codec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include "core/base/text_encoding.h"
#include "core/records/record_extension.h"

namespace paylark {
namespace {

template <class T>
void AppendLittleEndian(std::string& out, T value) {
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  if constexpr (std::endian::native == std::endian::big)
    std::reverse(bytes, bytes + sizeof(T));
  out.append(reinterpret_cast<const char*>(bytes), sizeof(T));
}

void AppendString(std::string& out, std::string_view text) {
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

void AppendDate(std::string& out, const OleDateTime& date) {
  AppendLittleEndian<std::int32_t>(out, static_cast<std::int32_t>(date.status()));
  AppendLittleEndian<double>(out, date.value());
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  template <class T>
  bool Read(T& value) {
    if (bytes_.size() - pos_ < sizeof(T))
      return Fail("the file ends early");
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, bytes_.data() + pos_, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
      std::reverse(raw, raw + sizeof(T));
    std::memcpy(&value, raw, sizeof(T));
    pos_ += sizeof(T);
    return true;
  }

  bool ReadString(std::string& text) {
    bool wide = false;
    std::uint64_t length = 0;
    if (!ReadLength(wide, length))
      return false;
    const std::uint64_t byteCount = wide ? length * 2 : length;
    if (byteCount > bytes_.size() - pos_)
      return Fail("a length prefix runs past the end");
    const std::string_view raw = bytes_.substr(pos_, byteCount);
    pos_ += byteCount;
    text = wide ? DecodeUtf16(raw) : DecodeNarrow(raw);
    return true;
  }

  bool ReadDate(OleDateTime& date) {
    std::int32_t status = 0;
    double value = 0;
    if (!Read(status) || !Read(value))
      return false;
    if (!std::isfinite(value))
      return Fail("a date is not a number");
    date = OleDateTime(value, static_cast<OleDateTime::Status>(status));
    return true;
  }

  bool Fail(std::string reason) {
    if (error_.empty())
      error_ = std::move(reason);
    return false;
  }
  const std::string& error() const { return error_; }
  std::string_view Rest() const { return bytes_.substr(pos_); }

 private:
  // The archive's length prefix; 0xFF 0xFFFE announces a UTF-16 string and a new prefix.
  bool ReadLength(bool& wide, std::uint64_t& length) {
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

  static std::string DecodeNarrow(std::string_view raw) {
    return IsValidUtf8(raw) ? std::string(raw) : Windows1252ToUtf8(raw);
  }

  static std::string DecodeUtf16(std::string_view raw) {
    std::u16string units(raw.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
      units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                       (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    }
    return Utf16ToUtf8(units);
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::string error_;
};

}  // namespace

std::string EncodeRecord(const DueRecord& record) {
  std::string out;
  out.reserve(64 + record.recordId.size() + record.title.size() + record.payTo.size() +
              record.account.size() + record.notes.size() + record.seriesId.size());
  AppendString(out, record.recordId);
  AppendString(out, record.title);
  AppendDate(out, record.startDate);
  AppendDate(out, record.dueDate);
  AppendString(out, record.payTo);
  AppendString(out, record.account);
  AppendLittleEndian<double>(out, record.amount);
  AppendLittleEndian<std::int32_t>(out, record.type);
  AppendLittleEndian<std::int32_t>(out, record.paid);
  AppendString(out, record.notes);
  AppendString(out, record.seriesId);
  AppendExtension(out, record);
  return out;
}

Result<DueRecord> DecodeRecord(std::string_view bytes) {
  Reader in(bytes);
  DueRecord r;
  const bool read = in.ReadString(r.recordId) && in.ReadString(r.title) &&
                    in.ReadDate(r.startDate) && in.ReadDate(r.dueDate) && in.ReadString(r.payTo) &&
                    in.ReadString(r.account) && in.Read(r.amount) && in.Read(r.type) &&
                    in.Read(r.paid) && in.ReadString(r.notes) && in.ReadString(r.seriesId);
  if (!read)
    return Status::Corrupt(in.error());
  if (!std::isfinite(r.amount))
    return Status::Corrupt("the amount is not a number");
  if (!IsPlainRecordId(r.recordId))
    return Status::Corrupt("the record ID is not usable");
  ReadExtension(in.Rest(), r);
  return r;
}

std::string_view TrimmedRecordId(std::string_view id) {
  return TrimWhiteSpace(id);
}

bool IsPlainRecordId(std::string_view id) {
  const std::string_view trimmed = TrimmedRecordId(id);
  if (trimmed.empty() || trimmed.find("..") != std::string_view::npos)
    return false;
  for (const char c : trimmed) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || b < 0x20 || b == 0x7F)
      return false;
  }
  return true;
}

}  // namespace paylark

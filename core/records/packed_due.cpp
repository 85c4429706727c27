#include "core/records/packed_due.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string>

#include "core/records/record_extension.h"

namespace paylark {
namespace {

constexpr std::size_t kTextCount = 5;

// Title, pay-to, account, notes, series ID; then the extension block, then the ID when it is
// text.
std::array<std::string_view, kTextCount> Texts(const DueView& due) {
  return {due.title, due.payTo, due.account, due.notes, due.seriesId};
}
std::array<std::string*, kTextCount> Texts(DueRecord& record) {
  return {&record.title, &record.payTo, &record.account, &record.notes, &record.seriesId};
}

// Lengths are written seven bits a byte, low bits first; most texts need one byte.
std::size_t LengthBytes(std::size_t length) {
  std::size_t bytes = 1;
  while (length >= 0x80) {
    length >>= 7;
    ++bytes;
  }
  return bytes;
}

char* PutText(char* out, std::string_view text) {
  std::size_t length = text.size();
  while (length >= 0x80) {
    *out++ = static_cast<char>((length & 0x7F) | 0x80);
    length >>= 7;
  }
  *out++ = static_cast<char>(length);
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

std::string_view TakeText(const char*& in) {
  std::size_t length = 0;
  int shift = 0;
  for (;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*in++);
    length |= static_cast<std::size_t>(byte & 0x7F) << shift;
    if (byte < 0x80)
      break;
  }
  const std::string_view text(in, length);
  in += length;
  return text;
}

}  // namespace

PackedId PackedId::Of(std::string_view recordId) {
  if (recordId.empty() || recordId.size() > kMostDigits)
    return {};
  std::uint64_t number = 0;
  const auto [end, error] =
      std::from_chars(recordId.data(), recordId.data() + recordId.size(), number);
  // from_chars takes no sign, so digits alone reach the end.
  if (error != std::errc() || end != recordId.data() + recordId.size())
    return {};
  return {number | static_cast<std::uint64_t>(recordId.size()) << kNumberBits};
}

PackedDue::PackedDue(const DueRecord& record, TextArena& arena) {
  std::string extension;
  AppendExtension(extension, record);
  *this = PackedDue(ViewOf(record), extension, arena);
}

PackedDue::PackedDue(const DueView& due, std::string_view extension, TextArena& arena)
    : startValue_(due.startDate.value()),
      dueValue_(due.dueDate.value()),
      amount_(due.amount),
      id_(PackedId::Of(due.recordId)),
      startStatus_(static_cast<std::int32_t>(due.startDate.status())),
      dueStatus_(static_cast<std::int32_t>(due.dueDate.status())),
      type_(due.type),
      paid_(due.paid) {
  const auto texts = Texts(due);
  std::size_t size = LengthBytes(extension.size()) + extension.size();
  bool anyText = !id_.IsNumber() || !extension.empty();
  for (const std::string_view text : texts) {
    size += LengthBytes(text.size()) + text.size();
    anyText = anyText || !text.empty();
  }
  if (!anyText)
    return;
  if (!id_.IsNumber())
    size += LengthBytes(due.recordId.size()) + due.recordId.size();
  char* out = arena.Allocate(size);
  texts_ = out;
  for (const std::string_view text : texts)
    out = PutText(out, text);
  out = PutText(out, extension);
  if (!id_.IsNumber())
    PutText(out, due.recordId);
}

void PackedDue::UnpackInto(DueRecord& record) const {
  record.startDate = OleDateTime(startValue_, static_cast<OleDateTime::Status>(startStatus_));
  record.dueDate = OleDateTime(dueValue_, static_cast<OleDateTime::Status>(dueStatus_));
  record.amount = amount_;
  record.type = type_;
  record.paid = paid_;
  const char* in = texts_;
  for (std::string* text : Texts(record)) {
    if (in)
      text->assign(TakeText(in));
    else
      text->clear();
  }
  ReadExtension(in ? TakeText(in) : std::string_view(), record);
  RecordIdInto(record.recordId);
}

void PackedDue::RecordIdInto(std::string& recordId) const {
  if (!id_.IsNumber()) {
    recordId.assign(TextId());
    return;
  }
  char digits[PackedId::kMostDigits];
  const auto end = std::to_chars(digits, digits + PackedId::kMostDigits, id_.number()).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  recordId.assign(id_.digits() - length, '0');
  recordId.append(digits, length);
}

DueRecord PackedDue::Unpack() const {
  DueRecord record;
  UnpackInto(record);
  return record;
}

std::string_view PackedDue::Title() const {
  const char* in = texts_;
  return in ? TakeText(in) : std::string_view();
}

std::string_view PackedDue::Account() const {
  const char* in = texts_;
  if (!in)
    return {};
  TakeText(in);  // title
  TakeText(in);  // pay-to
  return TakeText(in);
}

std::string_view PackedDue::ExtensionBlock() const {
  const char* in = texts_;
  if (!in)
    return {};
  for (std::size_t i = 0; i < kTextCount; ++i)
    TakeText(in);
  return TakeText(in);
}

std::string_view PackedDue::TextId() const {
  if (id_.IsNumber())
    return {};
  const char* in = texts_;
  for (std::size_t i = 0; i <= kTextCount; ++i)  // the texts, then the extension
    TakeText(in);
  return TakeText(in);
}

bool PackedDue::HasId(std::string_view recordId, const PackedId& packed) const {
  if (id_.IsNumber())
    return packed.key == id_.key;
  return !packed.IsNumber() && TextId() == recordId;
}

}  // namespace paylark

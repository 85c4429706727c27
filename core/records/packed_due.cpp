#include "core/records/packed_due.h"

#include <algorithm>
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
  // An empty view may have no bytes at all to copy from.
  if (!text.empty())
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

// Whether the value fits a byte without being taken for kWhole.
bool FitsAByte(std::int32_t value) {
  return value > PackedFields::kWhole && value <= INT8_MAX;
}

// Skips the texts and the extension block: to the text ID, or to the whole small fields.
const char* SkipTexts(const char* in) {
  for (std::size_t i = 0; i <= kTextCount; ++i)
    TakeText(in);
  return in;
}

}  // namespace

// Every load reads every ID this way, so the digits are taken by hand: at most 17 of them cannot
// overflow, and from_chars' checks for any base and any length cost twice as much.
PackedId PackedId::Of(std::string_view recordId) {
  if (recordId.empty() || recordId.size() > kMostDigits)
    return {};
  std::uint64_t number = 0;
  for (const char c : recordId) {
    const auto digit = static_cast<unsigned char>(c - '0');
    if (digit > 9)
      return {};
    number = number * 10 + digit;
  }
  return {number | static_cast<std::uint64_t>(recordId.size()) << kNumberBits};
}

PackedFields PackedFields::Of(const DueRecord& record, TextArena& arena) {
  std::string extension;
  AppendExtension(extension, record);
  return Of(ViewOf(record), extension, arena);
}

namespace {

std::array<std::int32_t, 4> SmallFields(const DueView& due) {
  return {static_cast<std::int32_t>(due.startDate.status()),
          static_cast<std::int32_t>(due.dueDate.status()), due.type, due.paid};
}

// Whether a small field does not fit its byte, so that all four are kept whole with the texts.
bool AnyWhole(const std::array<std::int32_t, 4>& small) {
  return !std::all_of(small.begin(), small.end(), FitsAByte);
}

// TextBytes for an ID known to be a number or not.
std::size_t TextBytesOf(const DueView& due, std::string_view extension, bool numberId) {
  const bool whole = AnyWhole(SmallFields(due));
  std::size_t size = LengthBytes(extension.size()) + extension.size();
  bool anyText = !numberId || !extension.empty() || whole;
  for (const std::string_view text : Texts(due)) {
    size += LengthBytes(text.size()) + text.size();
    anyText = anyText || !text.empty();
  }
  if (!anyText)
    return 0;
  if (!numberId)
    size += LengthBytes(due.recordId.size()) + due.recordId.size();
  if (whole)
    size += sizeof(std::array<std::int32_t, 4>);
  return size;
}

}  // namespace

std::size_t PackedFields::TextBytes(const DueView& due, std::string_view extension) {
  return TextBytesOf(due, extension, PackedId::Of(due.recordId).IsNumber());
}

PackedFields PackedFields::Of(const DueView& due, std::string_view extension, TextArena& arena) {
  PackedFields fields;
  fields.startValue = due.startDate.value();
  fields.dueValue = due.dueDate.value();
  fields.amount = due.amount;
  fields.id = PackedId::Of(due.recordId);
  const std::array<std::int32_t, 4> small = SmallFields(due);
  const bool whole = AnyWhole(small);
  fields.startStatus = whole ? kWhole : static_cast<std::int8_t>(small[0]);
  fields.dueStatus = static_cast<std::int8_t>(small[1]);
  fields.type = static_cast<std::int8_t>(small[2]);
  fields.paid = static_cast<std::int8_t>(small[3]);

  const std::size_t size = TextBytesOf(due, extension, fields.id.IsNumber());
  if (size == 0)
    return fields;
  const TextArena::Span span = arena.Allocate(size);
  fields.texts = span.offset + 1;
  char* out = span.bytes;
  for (const std::string_view text : Texts(due))
    out = PutText(out, text);
  out = PutText(out, extension);
  if (!fields.id.IsNumber())
    out = PutText(out, due.recordId);
  if (whole)
    std::memcpy(out, small.data(), sizeof small);
  return fields;
}

std::array<std::int32_t, 4> PackedDue::Small() const {
  std::array<std::int32_t, 4> small = {fields_->startStatus, fields_->dueStatus, fields_->type,
                                       fields_->paid};
  if (fields_->startStatus != PackedFields::kWhole)
    return small;
  const char* in = SkipTexts(texts_);
  if (!fields_->id.IsNumber())
    TakeText(in);
  std::memcpy(small.data(), in, sizeof small);
  return small;
}

OleDateTime PackedDue::DueDate() const {
  const auto status =
      fields_->startStatus == PackedFields::kWhole ? Small()[1] : fields_->dueStatus;
  return OleDateTime(fields_->dueValue, static_cast<OleDateTime::Status>(status));
}

std::int32_t PackedDue::type() const {
  return fields_->startStatus == PackedFields::kWhole ? Small()[2] : fields_->type;
}

bool PackedDue::IsPaid() const {
  return (fields_->startStatus == PackedFields::kWhole ? Small()[3] : fields_->paid) != 0;
}

void PackedDue::UnpackInto(DueRecord& record) const {
  const std::array<std::int32_t, 4> small = Small();
  record.startDate = OleDateTime(fields_->startValue, static_cast<OleDateTime::Status>(small[0]));
  record.dueDate = OleDateTime(fields_->dueValue, static_cast<OleDateTime::Status>(small[1]));
  record.amount = fields_->amount;
  record.type = small[2];
  record.paid = small[3];
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
  char digits[PackedId::kMostDigits];
  recordId.assign(RecordIdIn(digits));
}

std::string_view PackedDue::RecordIdIn(std::span<char, PackedId::kMostDigits> digits) const {
  if (!fields_->id.IsNumber())
    return TextId();
  const std::size_t count = fields_->id.digits();
  char* first = digits.data();
  const auto end = std::to_chars(first, first + count, fields_->id.number()).ptr;
  const auto length = static_cast<std::size_t>(end - first);
  if (length < count) {
    // Leading zeros: the number moves to the end of its digits.
    std::memmove(first + count - length, first, length);
    std::memset(first, '0', count - length);
  }
  return {first, count};
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

PackedDue::TextViews PackedDue::ReadTexts() const {
  const char* in = texts_;
  if (!in)
    return {};
  TextViews texts;
  texts.title = TakeText(in);
  TakeText(in);  // pay-to
  texts.account = TakeText(in);
  TakeText(in);  // notes
  texts.seriesId = TakeText(in);
  texts.extension = TakeText(in);
  return texts;
}

std::string_view PackedDue::TextId() const {
  if (fields_->id.IsNumber())
    return {};
  const char* in = SkipTexts(texts_);
  return TakeText(in);
}

bool PackedDue::HasId(std::string_view recordId, const PackedId& packed) const {
  if (fields_->id.IsNumber())
    return packed.key == fields_->id.key;
  return !packed.IsNumber() && TextId() == recordId;
}

}  // namespace paylark

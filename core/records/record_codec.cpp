#include "core/records/record_codec.h"

#include <cmath>
#include <cstdint>

#include "core/base/text_encoding.h"
#include "core/records/archive_fields.h"
#include "core/records/record_extension.h"

namespace paylark {

std::string EncodeRecord(const DueRecord& record) {
  std::string out;
  out.reserve(64 + record.recordId.size() + record.title.size() + record.payTo.size() +
              record.account.size() + record.notes.size() + record.seriesId.size());
  AppendArchiveString(out, record.recordId);
  AppendArchiveString(out, record.title);
  AppendArchiveDate(out, record.startDate);
  AppendArchiveDate(out, record.dueDate);
  AppendArchiveString(out, record.payTo);
  AppendArchiveString(out, record.account);
  AppendLittleEndian<double>(out, record.amount);
  AppendLittleEndian<std::int32_t>(out, record.type);
  AppendLittleEndian<std::int32_t>(out, record.paid);
  AppendArchiveString(out, record.notes);
  AppendArchiveString(out, record.seriesId);
  AppendExtension(out, record);
  return out;
}

Result<DueRecord> DecodeRecord(std::string_view bytes) {
  ArchiveReader in(bytes);
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

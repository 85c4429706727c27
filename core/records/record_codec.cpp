#include "core/records/record_codec.h"

#include <cmath>
#include <cstdint>

#include "core/base/amount_limit.h"
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

Status ReadRecordView(std::string_view bytes, DueView& view, DueRecord& held) {
  ArchiveReader in(bytes);
  const bool read =
      in.ReadText(view.recordId, held.recordId) && in.ReadText(view.title, held.title) &&
      in.ReadDate(view.startDate) && in.ReadDate(view.dueDate) &&
      in.ReadText(view.payTo, held.payTo) && in.ReadText(view.account, held.account) &&
      in.Read(view.amount) && in.Read(view.type) && in.Read(view.paid) &&
      in.ReadText(view.notes, held.notes) && in.ReadText(view.seriesId, held.seriesId);
  if (!read)
    return Status::Corrupt(in.error());
  if (!std::isfinite(view.amount))
    return Status::Corrupt("the amount is not a number");
  if (!AmountWithinLimit(view.amount))
    return Status::Corrupt(AmountBeyondLimitText("the due"));
  if (!IsPlainRecordId(view.recordId))
    return Status::Corrupt("the record ID is not usable");
  ReadExtension(in.Rest(), held);
  return Status::Ok();
}

Result<DueRecord> DecodeRecord(std::string_view bytes) {
  DueView view;
  DueRecord record;
  if (Status status = ReadRecordView(bytes, view, record); !status.ok())
    return status;
  AssignFields(view, record);
  return record;
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

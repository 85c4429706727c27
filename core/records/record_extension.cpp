#include "core/records/record_extension.h"

#include <cmath>
#include <utility>

#include "core/base/amount_limit.h"
#include "core/base/text_encoding.h"
#include "core/records/archive_fields.h"

namespace paylark {
namespace {

constexpr std::size_t kFieldHeaderBytes = 5;  // u8 tag, u32 length
constexpr std::size_t kDateBytes = 12;        // i32 status, f64 days

void PutField(std::string& out, ExtensionTag tag, std::string_view payload) {
  out += static_cast<char>(tag);
  AppendLittleEndian<std::uint32_t>(out, static_cast<std::uint32_t>(payload.size()));
  out.append(payload);
}

std::string DatePayload(const OleDateTime& date) {
  std::string payload;
  AppendArchiveDate(payload, date);
  return payload;
}

std::string AmountPayload(double amount) {
  std::string payload;
  AppendLittleEndian<double>(payload, amount);
  return payload;
}

// The text fields of the block, in tag order.
constexpr std::pair<ExtensionTag, std::string DueRecord::*> kTextFields[] = {
    {ExtensionTag::kPaymentReference, &DueRecord::paymentReference},
    {ExtensionTag::kCounterparty, &DueRecord::paymentCounterparty},
    {ExtensionTag::kCounterpartyAccount, &DueRecord::paymentCounterpartyAccount},
    {ExtensionTag::kPayeeAccount, &DueRecord::payeeAccount},
    {ExtensionTag::kCreditorReference, &DueRecord::creditorReference},
};

std::string DueRecord::*TextFieldOf(ExtensionTag tag) {
  for (const auto& [known, field] : kTextFields) {
    if (known == tag)
      return field;
  }
  return nullptr;
}

bool HasDetails(const DueRecord& record) {
  bool anyText = false;
  for (const auto& [tag, field] : kTextFields)
    anyText = anyText || !(record.*field).empty();
  return record.paidOn || record.paidAmount || anyText || !record.unknownFields.empty();
}

// The block's fields, read into `record` (which may be null for a check alone).
Status Parse(std::string_view block, DueRecord* record) {
  if (block.substr(0, kExtensionMagic.size()) != kExtensionMagic)
    return Status::Corrupt("the payment details do not start with PLX1");
  bool seen[256] = {};
  for (std::size_t pos = kExtensionMagic.size(); pos < block.size();) {
    if (block.size() - pos < kFieldHeaderBytes)
      return Status::Corrupt("the payment details end early");
    const auto tag = static_cast<std::uint8_t>(block[pos]);
    const std::uint32_t length = LittleEndianAt<std::uint32_t>(block.substr(pos + 1));
    if (length > block.size() - pos - kFieldHeaderBytes)
      return Status::Corrupt("a payment detail's length runs past the end");
    const std::string_view field = block.substr(pos, kFieldHeaderBytes + length);
    const std::string_view payload = field.substr(kFieldHeaderBytes);
    pos += field.size();
    const auto known = static_cast<ExtensionTag>(tag);
    std::string DueRecord::*const text = TextFieldOf(known);
    const bool isKnown =
        known == ExtensionTag::kPaidOn || known == ExtensionTag::kPaidAmount || text != nullptr;
    if (isKnown && std::exchange(seen[tag], true))
      return Status::Corrupt("a payment detail appears twice");
    if (text) {
      if (!IsValidUtf8(payload))
        return Status::Corrupt("a payment detail is not UTF-8 text");
      if (record)
        (record->*text).assign(payload);
      continue;
    }
    switch (known) {
      case ExtensionTag::kPaidOn: {
        if (payload.size() != kDateBytes ||
            !std::isfinite(LittleEndianAt<double>(payload.substr(4))))
          return Status::Corrupt("the paid-on date is not a date");
        if (record)
          record->paidOn =
              OleDateTime(LittleEndianAt<double>(payload.substr(4)),
                          static_cast<OleDateTime::Status>(LittleEndianAt<std::int32_t>(payload)));
        break;
      }
      case ExtensionTag::kPaidAmount: {
        if (payload.size() != sizeof(double) || !std::isfinite(LittleEndianAt<double>(payload)))
          return Status::Corrupt("the paid amount is not a number");
        if (!AmountWithinLimit(LittleEndianAt<double>(payload)))
          return Status::Corrupt(AmountBeyondLimitText("the payment"));
        if (record)
          record->paidAmount = LittleEndianAt<double>(payload);
        break;
      }
      default:
        if (record)
          record->unknownFields.append(field);
        break;
    }
  }
  return Status::Ok();
}

void ClearExtension(DueRecord& record) {
  record.paidOn.reset();
  record.paidAmount.reset();
  for (const auto& [tag, field] : kTextFields)
    (record.*field).clear();
  record.unknownFields.clear();
  record.damagedExtension.clear();
}

}  // namespace

void AppendExtension(std::string& out, const DueRecord& record) {
  if (!HasDetails(record)) {
    out.append(record.damagedExtension);
    return;
  }
  out.append(kExtensionMagic);
  if (record.paidOn)
    PutField(out, ExtensionTag::kPaidOn, DatePayload(*record.paidOn));
  if (record.paidAmount)
    PutField(out, ExtensionTag::kPaidAmount, AmountPayload(*record.paidAmount));
  for (const auto& [tag, field] : kTextFields) {
    if (!(record.*field).empty())
      PutField(out, tag, record.*field);
  }
  out.append(record.unknownFields);
  if (!record.damagedExtension.empty())
    PutField(out, ExtensionTag::kDamagedBlock, record.damagedExtension);
}

void ReadExtension(std::string_view block, DueRecord& record) {
  ClearExtension(record);
  if (block.empty())
    return;
  if (!Parse(block, &record).ok()) {
    ClearExtension(record);
    record.damagedExtension.assign(block);
  }
}

Status CheckExtension(std::string_view block) {
  return block.empty() ? Status::Ok() : Parse(block, nullptr);
}

}  // namespace paylark

#include "core/records/record_extension.h"

#include <cmath>
#include <optional>
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

constexpr std::size_t kNoticeBytes = 5;  // u8 unit, i32 count
constexpr std::int32_t kMostNoticeCount = 9999;

// A payment's fields, wherever they are kept: the first in the record, the later ones as parts.
struct PaymentFields {
  std::optional<OleDateTime>* on;
  std::optional<double>* amount;
  std::string* texts[3];  // reference, counterparty, counterparty account: tags 3 to 5

  static PaymentFields Of(DueRecord& record) {
    return {&record.paidOn,
            &record.paidAmount,
            {&record.paymentReference, &record.paymentCounterparty,
             &record.paymentCounterpartyAccount}};
  }
  static PaymentFields Of(PaymentPart& part) {
    return {
        &part.on, &part.amount, {&part.reference, &part.counterparty, &part.counterpartyAccount}};
  }
};

bool IsPaymentTag(std::uint8_t tag) {
  return tag >= static_cast<std::uint8_t>(ExtensionTag::kPaidOn) &&
         tag <= static_cast<std::uint8_t>(ExtensionTag::kCounterpartyAccount);
}

void PutPayment(std::string& out, const std::optional<OleDateTime>& on,
                const std::optional<double>& amount, const std::string* const (&texts)[3]) {
  if (on)
    PutField(out, ExtensionTag::kPaidOn, DatePayload(*on));
  if (amount)
    PutField(out, ExtensionTag::kPaidAmount, AmountPayload(*amount));
  for (std::size_t i = 0; i < 3; ++i) {
    if (!texts[i]->empty())
      PutField(out, static_cast<ExtensionTag>(3 + i), *texts[i]);
  }
}

bool HasDetails(const DueRecord& record) {
  return record.paidOn || record.paidAmount || !record.paymentReference.empty() ||
         !record.paymentCounterparty.empty() || !record.paymentCounterpartyAccount.empty() ||
         !record.payeeAccount.empty() || !record.creditorReference.empty() ||
         !record.laterParts.empty() || record.renewsOn || record.noticePeriod.IsSet() ||
         !record.unknownFields.empty();
}

std::optional<OleDateTime> DateOf(std::string_view payload) {
  if (payload.size() != kDateBytes || !std::isfinite(LittleEndianAt<double>(payload.substr(4))))
    return std::nullopt;
  return OleDateTime(LittleEndianAt<double>(payload.substr(4)),
                     static_cast<OleDateTime::Status>(LittleEndianAt<std::int32_t>(payload)));
}

// One payment field into `payment`.
Status ReadPaymentField(ExtensionTag tag, std::string_view payload, const PaymentFields& payment) {
  switch (tag) {
    case ExtensionTag::kPaidOn: {
      const std::optional<OleDateTime> date = DateOf(payload);
      if (!date)
        return Status::Corrupt("the paid-on date is not a date");
      *payment.on = date;
      return Status::Ok();
    }
    case ExtensionTag::kPaidAmount: {
      if (payload.size() != sizeof(double) || !std::isfinite(LittleEndianAt<double>(payload)))
        return Status::Corrupt("the paid amount is not a number");
      if (!AmountWithinLimit(LittleEndianAt<double>(payload)))
        return Status::Corrupt(AmountBeyondLimitText("the payment"));
      *payment.amount = LittleEndianAt<double>(payload);
      return Status::Ok();
    }
    default:
      if (!IsValidUtf8(payload))
        return Status::Corrupt("a payment detail is not UTF-8 text");
      payment.texts[static_cast<std::size_t>(tag) - 3]->assign(payload);
      return Status::Ok();
  }
}

// One of the due's own fields: tags 6 to 9.
Status ReadDueField(ExtensionTag tag, std::string_view payload, DueRecord& record) {
  switch (tag) {
    case ExtensionTag::kPayeeAccount:
    case ExtensionTag::kCreditorReference:
      if (!IsValidUtf8(payload))
        return Status::Corrupt("a payment detail is not UTF-8 text");
      (tag == ExtensionTag::kPayeeAccount ? record.payeeAccount : record.creditorReference)
          .assign(payload);
      return Status::Ok();
    case ExtensionTag::kRenewsOn:
      record.renewsOn = DateOf(payload);
      return record.renewsOn ? Status::Ok() : Status::Corrupt("the renewal date is not a date");
    default: {
      const auto unit = payload.empty() ? 0 : static_cast<std::uint8_t>(payload[0]);
      const std::int32_t count =
          payload.size() == kNoticeBytes ? LittleEndianAt<std::int32_t>(payload.substr(1)) : 0;
      if (payload.size() != kNoticeBytes || unit < 1 || unit > 3 || count < 1 ||
          count > kMostNoticeCount)
        return Status::Corrupt("the notice period is not a period");
      record.noticePeriod = {static_cast<NoticeUnit>(unit), count};
      return Status::Ok();
    }
  }
}

bool IsDueFieldTag(ExtensionTag tag) {
  return tag >= ExtensionTag::kPayeeAccount && tag <= ExtensionTag::kNoticePeriod;
}

// The block's fields, read into `record`.
Status Parse(std::string_view block, DueRecord& record) {
  if (block.substr(0, kExtensionMagic.size()) != kExtensionMagic)
    return Status::Corrupt("the payment details do not start with PLX1");
  bool seen[256] = {};
  std::uint8_t lastPaymentTag = 0;  // 0 before the first payment
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
    // An empty text is no field: it is never written, so it may not start a part either.
    if (IsPaymentTag(tag) && tag >= static_cast<std::uint8_t>(ExtensionTag::kPaymentReference) &&
        payload.empty())
      continue;
    if (IsPaymentTag(tag)) {
      if (lastPaymentTag != 0 && tag <= lastPaymentTag)
        record.laterParts.emplace_back();
      lastPaymentTag = tag;
      const PaymentFields payment = record.laterParts.empty()
                                        ? PaymentFields::Of(record)
                                        : PaymentFields::Of(record.laterParts.back());
      PAYLARK_TRY(ReadPaymentField(known, payload, payment));
    } else if (IsDueFieldTag(known)) {
      if (std::exchange(seen[tag], true))
        return Status::Corrupt("a payment detail appears twice");
      PAYLARK_TRY(ReadDueField(known, payload, record));
    } else {
      record.unknownFields.append(field);
    }
  }
  return Status::Ok();
}

void ClearExtension(DueRecord& record) {
  record.paidOn.reset();
  record.paidAmount.reset();
  record.paymentReference.clear();
  record.paymentCounterparty.clear();
  record.paymentCounterpartyAccount.clear();
  record.payeeAccount.clear();
  record.creditorReference.clear();
  record.laterParts.clear();
  record.renewsOn.reset();
  record.noticePeriod = {};
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
  PutPayment(
      out, record.paidOn, record.paidAmount,
      {&record.paymentReference, &record.paymentCounterparty, &record.paymentCounterpartyAccount});
  for (const PaymentPart& part : record.laterParts)
    PutPayment(out, part.on, part.amount,
               {&part.reference, &part.counterparty, &part.counterpartyAccount});
  if (!record.payeeAccount.empty())
    PutField(out, ExtensionTag::kPayeeAccount, record.payeeAccount);
  if (!record.creditorReference.empty())
    PutField(out, ExtensionTag::kCreditorReference, record.creditorReference);
  if (record.renewsOn)
    PutField(out, ExtensionTag::kRenewsOn, DatePayload(*record.renewsOn));
  if (record.noticePeriod.IsSet()) {
    std::string payload(1, static_cast<char>(record.noticePeriod.unit));
    AppendLittleEndian<std::int32_t>(payload, record.noticePeriod.count);
    PutField(out, ExtensionTag::kNoticePeriod, payload);
  }
  out.append(record.unknownFields);
  if (!record.damagedExtension.empty())
    PutField(out, ExtensionTag::kDamagedBlock, record.damagedExtension);
}

void ReadExtension(std::string_view block, DueRecord& record) {
  ClearExtension(record);
  if (block.empty())
    return;
  if (!Parse(block, record).ok()) {
    ClearExtension(record);
    record.damagedExtension.assign(block);
  }
}

Status CheckExtension(std::string_view block) {
  DueRecord scratch;
  return block.empty() ? Status::Ok() : Parse(block, scratch);
}

}  // namespace paylark

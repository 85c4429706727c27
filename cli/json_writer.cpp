#include "cli/json_writer.h"

#include <charconv>
#include <cstdio>

#include "cli/date_time_text.h"
#include "core/records/notice_period.h"

namespace paylark::cli {

std::string JsonNumber(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string RecordJson(const DueRecord& r) {
  return "{\"recordId\": " + JsonString(r.recordId) + ", \"title\": " + JsonString(r.title) +
         ", \"startDate\": " + JsonString(IsoDateTime(r.startDate)) +
         ", \"dueDate\": " + JsonString(IsoDateTime(r.dueDate)) +
         ", \"payTo\": " + JsonString(r.payTo) + ", \"account\": " + JsonString(r.account) +
         ", \"amount\": " + JsonNumber(r.amount) + ", \"notes\": " + JsonString(r.notes) +
         ", \"type\": " + std::to_string(r.type) + ", \"paid\": " + std::to_string(r.paid) +
         ", \"seriesId\": " + JsonString(r.seriesId) +
         ", \"paidOn\": " + (r.paidOn ? JsonString(IsoDateTime(*r.paidOn)) : "null") +
         ", \"paidAmount\": " + (r.paidAmount ? JsonNumber(*r.paidAmount) : "null") +
         ", \"paymentReference\": " +
         (r.paymentReference.empty() ? "null" : JsonString(r.paymentReference)) + "}";
}

namespace {

std::string PaymentJson(const std::optional<OleDateTime>& on, const std::optional<double>& amount,
                        const std::string& reference, const std::string& counterparty,
                        const std::string& counterpartyAccount) {
  const auto text = [](const std::string& value) {
    return value.empty() ? std::string("null") : JsonString(value);
  };
  return "{\"on\": " + (on ? JsonString(IsoDateTime(*on)) : "null") +
         ", \"amount\": " + (amount ? JsonNumber(*amount) : "null") +
         ", \"reference\": " + text(reference) + ", \"counterparty\": " + text(counterparty) +
         ", \"counterpartyAccount\": " + text(counterpartyAccount) + "}";
}

}  // namespace

std::string PaymentsJson(const DueRecord& r, const OleDateTime& today) {
  std::string payments;
  if (r.paidOn || r.paidAmount || !r.paymentReference.empty()) {
    payments = PaymentJson(r.paidOn, r.paidAmount, r.paymentReference, r.paymentCounterparty,
                           r.paymentCounterpartyAccount);
  }
  for (const PaymentPart& part : r.laterParts) {
    payments += ", " + PaymentJson(part.on, part.amount, part.reference, part.counterparty,
                                   part.counterpartyAccount);
  }
  std::string out =
      ", \"payments\": [" + payments + "], \"left\": " + JsonNumber(FromCents(LeftCents(r))) +
      ", \"renewsOn\": " + (r.renewsOn ? JsonString(IsoDateTime(*r.renewsOn)) : "null") +
      ", \"noticePeriod\": ";
  if (r.noticePeriod.IsSet()) {
    out += "{\"unit\": " + JsonString(NoticeUnitName(r.noticePeriod.unit)) +
           ", \"count\": " + std::to_string(r.noticePeriod.count) + "}";
  } else {
    out += "null";
  }
  const std::optional<CancelBy> cancelBy = NextCancelBy(r, today);
  return out + ", \"cancelBy\": " +
         (cancelBy ? JsonString(IsoDateTime(cancelBy->date).substr(0, 10)) : "null");
}

}  // namespace paylark::cli

#include "cli/json_writer.h"

#include <charconv>
#include <cstdio>

#include "cli/date_time_text.h"

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

}  // namespace paylark::cli

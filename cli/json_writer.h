#pragma once

#include <string>
#include <string_view>

#include "core/records/due_record.h"

namespace paylark::cli {

// The shortest text that reads back as the same double.
std::string JsonNumber(double value);
// A JSON string literal, quotes included.
std::string JsonString(std::string_view text);
// The record as an object with its eleven field names; dates as local "YYYY-MM-DDTHH:MM:SS".
std::string RecordJson(const DueRecord& record);
// The members `show --json` adds, each after ", ": "payments" (every part), "left", "renewsOn",
// "noticePeriod" and "cancelBy" as seen on `today`.
std::string PaymentsJson(const DueRecord& record, const OleDateTime& today);

}  // namespace paylark::cli

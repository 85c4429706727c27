#pragma once

#include <optional>
#include <string>

#include "cli/arguments.h"
#include "core/records/due_record.h"

namespace paylark::cli {

// Sets the fields given as options (--title, --start, --due, --pay-to, --account, --amount,
// --type, --paid/--unpaid, --notes, --renews-on, --notice; an empty --renews-on or --notice
// removes it) and leaves the others as they are. Empty when all were valid,
// else the message to show; a bad amount gives the editor's own message.
std::optional<std::string> TakeRecordFields(Arguments& arguments, DueRecord& record);

// The usage lines of those options, for --help.
inline constexpr const char* kRecordFieldsUsage =
    "[--title T] [--start DT] [--due DT] [--pay-to P] [--account A] [--amount X]\n"
    "       [--type business|personal|income] [--paid | --unpaid] [--notes N]\n"
    "       [--renews-on DT] [--notice N days|weeks|months]";

}  // namespace paylark::cli

#pragma once

#include <optional>

#include "core/base/messages.h"
#include "core/recurrence/recurrence_pattern.h"

namespace paylark {

// The pattern dialog's check on OK: the settings of the chosen kind and form first, then the
// range. Returns the one message to show, or nothing when the pattern may be generated. Settings
// of the kinds and forms not chosen are not looked at.
std::optional<Message> ValidatePattern(const RecurrencePattern& pattern);

}  // namespace paylark

#pragma once

#include <optional>

#include "core/base/ole_date_time.h"

namespace paylark::cli {

// Reminders/SnoozedUntil: notifications stay silent until this local time.
std::optional<OleDateTime> SnoozedUntil();
void SaveSnoozedUntil(const OleDateTime& until);

}  // namespace paylark::cli

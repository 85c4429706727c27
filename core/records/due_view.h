#pragma once

#include <cstdint>
#include <string_view>

#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"

namespace paylark {

// A due's eleven stored fields with its texts viewed where they already are (a record file's
// bytes, a DueRecord): a load maps a record without copying its texts first.
struct DueView {
  std::string_view recordId;
  std::string_view title;
  OleDateTime startDate;
  OleDateTime dueDate;
  std::string_view payTo;
  std::string_view account;
  double amount = 0.0;
  std::int32_t type = kTypeBusiness;
  std::int32_t paid = 0;
  std::string_view notes;
  std::string_view seriesId;
};

// Views the record's fields; the view lasts as long as the record stays unchanged.
DueView ViewOf(const DueRecord& record);

// Copies the viewed fields into `record`; its payment details stay as they are.
void AssignFields(const DueView& view, DueRecord& record);

}  // namespace paylark

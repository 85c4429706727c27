#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/records/record_store.h"
#include "core/recurrence/recurrence_pattern.h"
#include "tests/support/scratch_store.h"

namespace paylark {

inline OleDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return OleDateTime::FromCivil(year, month, day, hour, minute, second).value();
}

inline std::string Text(const OleDateTime& value) {
  const CivilDateTime c = value.ToCivil();
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                c.minute, c.second);
  return text;
}

// A fresh working directory with a store over it and a clock that stands still.
class StoreTest : public ::testing::Test {
 protected:
  std::string RecordsFolder() const { return RecordsFolderPath(store_.workingDirectory()); }

  // The default pattern of that kind from start, ending after count occurrences.
  static RecurrencePattern Pattern(RecurrenceKind kind, OleDateTime start, int count) {
    RecurrencePattern pattern = RecurrencePattern::Defaults(start);
    pattern.kind = kind;
    pattern.count = std::to_string(count);
    return pattern;
  }

  std::vector<std::string> StartDates(const std::vector<std::string>& ids) const {
    std::vector<std::string> dates;
    dates.reserve(ids.size());
    for (const auto& id : ids)
      dates.push_back(Text(store_.Get(id).startDate));
    return dates;
  }

  FixedClock clock_{At(2007, 2, 1, 9, 0, 0)};
  testing::ScratchStore scratch_{clock_};
  RecordStore& store_ = scratch_.store();
};

}  // namespace paylark

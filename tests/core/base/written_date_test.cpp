#include "core/base/written_date.h"

#include <gtest/gtest.h>

#include <string_view>

namespace paylark {
namespace {

// Both forms give the day they write; anything else, or a day no calendar has, gives nothing.
TEST(WrittenDateTest, TakesBothFormsAndOnlyRealDays) {
  EXPECT_EQ(WrittenDate("20261130"), OleDateTime::FromCivil(2026, 11, 30));
  EXPECT_EQ(WrittenDate("2026-11-30"), OleDateTime::FromCivil(2026, 11, 30));
  EXPECT_EQ(WrittenDate("20240229"), OleDateTime::FromCivil(2024, 2, 29));
  for (const std::string_view text :
       {"20261409", "20250229", "20261100", "00000231", "2026-11-3x", "2026-1-130", "2026113",
        "2026-11-30T10:00", " 20261130", "-2026111", ""}) {
    EXPECT_FALSE(WrittenDate(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace paylark

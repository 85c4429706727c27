#include "core/export/month_heading.h"

#include <gtest/gtest.h>

#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

TEST(MonthHeadingTest, EachFormatWritesTheMonthItsOwnWay) {
  const testing::ScopedLocale german("de_DE.UTF-8");
  ASSERT_TRUE(german.ok());
  const OleDateTime march = *OleDateTime::FromCivil(2007, 3, 15, 18, 0, 0);
  EXPECT_EQ(MonthHeading(ExportFormat::kExcel, march), "März, 2007");
  EXPECT_EQ(MonthHeading(ExportFormat::kWord, march), "März-2007");
  EXPECT_EQ(MonthHeading(ExportFormat::kHtml, march), "März - 2007");
  EXPECT_EQ(MonthHeading(ExportFormat::kPdf, march), "Mär - 2007");
}

}  // namespace
}  // namespace paylark

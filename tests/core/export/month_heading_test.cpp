#include "core/export/month_heading.h"

#include <gtest/gtest.h>

#include <clocale>

namespace paylark {
namespace {

TEST(MonthHeadingTest, EachFormatWritesTheMonthItsOwnWay) {
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  const OleDateTime march = *OleDateTime::FromCivil(2007, 3, 15, 18, 0, 0);
  EXPECT_EQ(MonthHeading(ExportFormat::kExcel, march), "März, 2007");
  EXPECT_EQ(MonthHeading(ExportFormat::kWord, march), "März-2007");
  EXPECT_EQ(MonthHeading(ExportFormat::kHtml, march), "März - 2007");
  EXPECT_EQ(MonthHeading(ExportFormat::kPdf, march), "Mär - 2007");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace paylark

#include <gtest/gtest.h>

#include <string>

#include "core/base/status.h"

namespace paylark {
namespace {

Result<int> Parse(const std::string& text) {
  if (text.empty())
    return Status::InvalidArgument("empty");
  return static_cast<int>(text.size());
}

Status Check(const std::string& text) {
  PAYLARK_TRY(Parse(text));
  return Status::Ok();
}

Result<int> Twice(const std::string& text) {
  PAYLARK_TRY_ASSIGN(const int once, Parse(text));
  PAYLARK_TRY(Check(text));
  return 2 * once;
}

TEST(StatusTest, TryPassesAFailureOnAndGoesOnWithAValue) {
  EXPECT_TRUE(Check("abc").ok());
  EXPECT_EQ(Check("").code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(Check("").message(), "empty");
  ASSERT_TRUE(Twice("abc").ok());
  EXPECT_EQ(Twice("abc").value(), 6);
  EXPECT_EQ(Twice("").status().message(), "empty");
}

TEST(StatusTest, AResultIsNeverNeitherValueNorFailure) {
  const Result<int> value = 7;
  EXPECT_TRUE(value.ok());
  EXPECT_TRUE(value.status().ok());
  const Result<int> empty = Status::Ok();
  EXPECT_FALSE(empty.ok());
  EXPECT_FALSE(empty.status().ok());
  EXPECT_FALSE(empty.status().message().empty());
}

}  // namespace
}  // namespace paylark

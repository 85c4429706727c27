#include "core/records/payment.h"

#include <gtest/gtest.h>

#include "core/records/due_details.h"
#include "tests/support/scoped_locale.h"

namespace paylark {
namespace {

const OleDateTime kNow = *OleDateTime::FromCivil(2026, 12, 6, 9, 30);

DueRecord Power() {
  DueRecord record;
  record.recordId = "2026120109000010";
  record.amount = 90;
  return record;
}

TEST(PaymentTest, PayingTakesNowAndTheDuesAmountUnlessTold) {
  DueRecord record = Power();
  MarkPaid(record, kNow);
  EXPECT_EQ(record.paid, 1);
  EXPECT_EQ(record.paidOn, kNow);
  EXPECT_EQ(record.paidAmount, 90.0);
  EXPECT_TRUE(record.paymentReference.empty());

  const OleDateTime on = *OleDateTime::FromCivil(2026, 12, 2);
  MarkPaid(record, kNow, {on, 92.41, "FITID-3", "", ""});
  EXPECT_EQ(record.paidOn, on);
  EXPECT_EQ(record.paidAmount, 92.41);
  EXPECT_EQ(record.paymentReference, "FITID-3");

  MarkUnpaid(record);
  EXPECT_EQ(record, Power()) << "unpaid clears all three";
}

TEST(PaymentTest, AnEditorsPaidFlagSettlesTheDetails) {
  const DueRecord unpaid = Power();
  DueRecord paid = unpaid;
  MarkPaid(paid, kNow, {std::nullopt, 95.0, "ref", "", ""});

  DueRecord edited = unpaid;
  edited.paid = 1;
  SettlePayment(edited, unpaid, kNow);
  EXPECT_EQ(edited.paidOn, kNow);
  EXPECT_EQ(edited.paidAmount, 90.0);

  edited = paid;
  edited.title = "renamed";
  SettlePayment(edited, paid, kNow);
  EXPECT_EQ(edited.paidAmount, 95.0) << "a paid due that stays paid keeps its details";
  EXPECT_EQ(edited.paymentReference, "ref");

  edited.paid = 0;
  SettlePayment(edited, paid, kNow);
  EXPECT_FALSE(edited.paidOn || edited.paidAmount);
  EXPECT_TRUE(edited.paymentReference.empty());
}

TEST(PaymentTest, DetailsShowThePaidAmountOnlyWhenItDiffers) {
  testing::ScopedLocale locale("en_US.UTF-8");
  DueRecord record = Power();
  EXPECT_TRUE(PaymentDetails(record).empty());
  MarkPaid(record, kNow);
  std::vector<DetailRow> rows = PaymentDetails(record);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].heading, "Paid on");
  EXPECT_EQ(rows[0].value, "12/06/2026 09:30 AM");
  MarkPaid(record, kNow, {std::nullopt, 92.5, "FITID-3", "", ""});
  rows = PaymentDetails(record);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].heading, "Paid amount");
  EXPECT_EQ(rows[1].value, "$92.50");
  EXPECT_EQ(rows[2].value, "FITID-3");
}

}  // namespace
}  // namespace paylark

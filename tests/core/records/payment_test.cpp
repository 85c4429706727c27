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

  DueRecord partly = Power();
  Pay(partly, kNow, {std::nullopt, 25.0, "", "", ""});
  edited = partly;
  edited.title = "renamed";
  SettlePayment(edited, partly, kNow);
  EXPECT_EQ(edited.paidAmount, 25.0) << "an unpaid due that stays unpaid keeps its parts";
  edited.paid = 1;
  SettlePayment(edited, partly, kNow);
  ASSERT_EQ(edited.laterParts.size(), 1u) << "ticking paid on a partly paid due pays what is left";
  EXPECT_EQ(edited.laterParts[0].amount, 65.0);
  EXPECT_EQ(PaidCents(edited), 9000);
}

TEST(PaymentTest, ThreePartsPayTheDue) {
  testing::ScopedLocale locale("en_US.UTF-8");
  DueRecord record = Power();
  const OleDateTime on = *OleDateTime::FromCivil(2026, 12, 2);
  PaymentOutcome outcome = Pay(record, kNow, {on, 30.0, "T-1", "", ""});
  EXPECT_FALSE(outcome.paid);
  EXPECT_EQ(record.paid, 0);
  EXPECT_EQ(record.paidOn, on);
  EXPECT_EQ(record.paidAmount, 30.0);
  EXPECT_EQ(LeftCents(record), 6000);
  EXPECT_EQ(PartsPaidText(record), "$30.00 of $90.00 paid");
  EXPECT_EQ(StatusText(record), "$30.00 of $90.00 paid");

  outcome = Pay(record, kNow, {std::nullopt, 30.01, "", "", ""});
  EXPECT_FALSE(outcome.paid);
  EXPECT_EQ(LeftCents(record), 2999);
  EXPECT_EQ(PaidShare(record), 6001);

  outcome = Pay(record, kNow, {std::nullopt, 29.99, "", "", ""});
  EXPECT_TRUE(outcome.paid);
  EXPECT_EQ(outcome.excess, 0);
  EXPECT_EQ(record.paid, 1);
  ASSERT_EQ(record.laterParts.size(), 2u);
  EXPECT_EQ(record.laterParts[1].on, kNow);
  EXPECT_EQ(PaidCents(record), 9000);
  EXPECT_EQ(LeftCents(record), 0);
  EXPECT_EQ(StatusText(record), "Paid");
  EXPECT_DOUBLE_EQ(ListedAmount(record), 90.0);

  MarkUnpaid(record);
  EXPECT_EQ(record, Power()) << "unpaid clears every part";
}

TEST(PaymentTest, APartBeyondWhatIsLeftPaysTheDueAndSaysTheExcess) {
  testing::ScopedLocale locale("en_US.UTF-8");
  DueRecord record = Power();
  Pay(record, kNow, {std::nullopt, 40.0, "", "", ""});
  const PaymentOutcome outcome = Pay(record, kNow, {std::nullopt, 50.5, "", "", ""});
  EXPECT_TRUE(outcome.paid);
  EXPECT_EQ(outcome.excess, 50);
  EXPECT_EQ(ExcessText(outcome.excess), "$0.50 more than the amount");
  EXPECT_EQ(PaidCents(record), 9050) << "the excess is kept, not lost";

  DueRecord whole = Power();
  EXPECT_EQ(Pay(whole, kNow, {std::nullopt, 91.0, "", "", ""}).excess, 100);
  EXPECT_TRUE(whole.laterParts.empty());

  DueRecord plain = Power();
  EXPECT_TRUE(Pay(plain, kNow, {}).paid) << "no amount: the whole due, as before";
  EXPECT_EQ(plain.paidAmount, 90.0);

  DueRecord refund = Power();
  refund.amount = -20;
  EXPECT_FALSE(Pay(refund, kNow, {std::nullopt, -5.0, "", "", ""}).paid);
  EXPECT_EQ(LeftCents(refund), -1500);
  EXPECT_TRUE(Pay(refund, kNow, {std::nullopt, -15.0, "", "", ""}).paid);
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

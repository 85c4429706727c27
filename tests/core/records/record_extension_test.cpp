#include "core/records/record_extension.h"

#include <gtest/gtest.h>

#include <string>

#include "core/records/payment.h"
#include "core/records/record_codec.h"

namespace paylark {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values)
    bytes += static_cast<char>(v);
  return bytes;
}

DueRecord PlainRecord() {
  DueRecord record;
  record.recordId = "2007021014302510";
  record.title = "Power";
  record.dueDate = OleDateTime(39123.75);
  record.amount = 92.4;
  record.paid = 1;
  return record;
}

// The eleven fields alone, as every earlier version writes them.
const std::string kPlainBytes = EncodeRecord(PlainRecord());

std::string Field(int tag, const std::string& payload) {
  const auto size = static_cast<std::uint32_t>(payload.size());
  return Bytes({tag, static_cast<int>(size & 0xFF), static_cast<int>(size >> 8 & 0xFF),
                static_cast<int>(size >> 16 & 0xFF), static_cast<int>(size >> 24)}) +
         payload;
}

TEST(RecordExtensionTest, NoDetailsWriteNoBlockAndAnEmptyBlockIsReadable) {
  const DueRecord decoded = DecodeRecord(kPlainBytes).value();
  EXPECT_FALSE(decoded.paidOn || decoded.paidAmount);
  EXPECT_EQ(EncodeRecord(decoded), kPlainBytes);
  EXPECT_TRUE(CheckExtension("").ok());
  EXPECT_TRUE(CheckExtension("PLX1").ok());
  const DueRecord empty = DecodeRecord(kPlainBytes + "PLX1" + Field(3, "")).value();
  EXPECT_TRUE(empty.damagedExtension.empty());
  EXPECT_TRUE(empty.paymentReference.empty());
}

TEST(RecordExtensionTest, EachFieldIsWrittenByteForByteAndReadBack) {
  DueRecord record = PlainRecord();
  record.paidOn = OleDateTime(39124.5);  // 2007-02-11 12:00
  const std::string paidOn = Field(1, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x90, 0x1a, 0xe3, 0x40}));
  EXPECT_EQ(EncodeRecord(record), kPlainBytes + "PLX1" + paidOn);

  record.paidAmount = 95.5;
  const std::string amount = Field(2, Bytes({0, 0, 0, 0, 0, 0xe0, 0x57, 0x40}));
  EXPECT_EQ(EncodeRecord(record), kPlainBytes + "PLX1" + paidOn + amount);

  record.paymentReference = "FITID-0042 \xE2\x82\xAC";
  const std::string bytes = EncodeRecord(record);
  EXPECT_EQ(bytes, kPlainBytes + "PLX1" + paidOn + amount + Field(3, record.paymentReference));
  EXPECT_EQ(DecodeRecord(bytes).value(), record);

  for (int only = 0; only < 3; ++only) {
    DueRecord single = PlainRecord();
    if (only == 0)
      single.paidOn = record.paidOn;
    if (only == 1)
      single.paidAmount = 0.0;  // a zero paid amount is still a paid amount
    if (only == 2)
      single.paymentReference = "ref";
    EXPECT_EQ(DecodeRecord(EncodeRecord(single)).value(), single) << only;
  }
}

TEST(RecordExtensionTest, WhoPaidAndTheBillsOwnDetailsFollowInTagOrder) {
  DueRecord record = PlainRecord();
  record.paymentReference = "DE-NTRY-0001";
  record.paymentCounterparty = "STADTWERKE GMBH";
  record.paymentCounterpartyAccount = "DE44500105175407324931";
  record.payeeAccount = "DE44 5001 0517 5407 3249 31";
  record.creditorReference = "RF18539007547034";
  const std::string bytes = EncodeRecord(record);
  EXPECT_EQ(bytes, kPlainBytes + "PLX1" + Field(3, record.paymentReference) +
                       Field(4, record.paymentCounterparty) +
                       Field(5, record.paymentCounterpartyAccount) + Field(6, record.payeeAccount) +
                       Field(7, record.creditorReference));
  EXPECT_EQ(DecodeRecord(bytes).value(), record);

  // Marking it unpaid forgets the payment, not the bill's own details.
  MarkUnpaid(record);
  DueRecord unpaid = PlainRecord();
  unpaid.paid = 0;
  EXPECT_EQ(EncodeRecord(record), EncodeRecord(unpaid) + "PLX1" +
                                      Field(6, "DE44 5001 0517 5407 3249 31") +
                                      Field(7, "RF18539007547034"));
  // A second counterparty is a damaged block, kept whole.
  const std::string twice = kPlainBytes + "PLX1" + Field(4, "A") + Field(4, "B");
  EXPECT_EQ(EncodeRecord(DecodeRecord(twice).value()), twice);
}

TEST(RecordExtensionTest, UnknownTagsSurviveAChangeInTheirOrder) {
  const std::string unknown = Field(19, "future") + Field(12, "") + Field(200, "\x01\x02");
  const std::string file = kPlainBytes + "PLX1" + Field(19, "future") +
                           Field(2, Bytes({0, 0, 0, 0, 0, 0, 0x59, 0x40})) + Field(12, "") +
                           Field(200, "\x01\x02");
  DueRecord record = DecodeRecord(file).value();
  EXPECT_EQ(record.paidAmount, 100.0);
  EXPECT_EQ(record.unknownFields, unknown);

  record.title = "Power and Gas";
  record.paidAmount.reset();
  DueRecord expected = PlainRecord();
  expected.title = record.title;
  EXPECT_EQ(EncodeRecord(record), EncodeRecord(expected) + "PLX1" + unknown);
}

// Each damaged block: the eleven fields load, the details stay empty, the bytes are kept and a
// rewrite of the record gives them back unchanged.
TEST(RecordExtensionTest, ADamagedBlockLosesNothing) {
  const std::string amount = Field(2, Bytes({0, 0, 0, 0, 0, 0, 0x59, 0x40}));
  const std::string nan = Bytes({0, 0, 0, 0, 0, 0, 0xf8, 0x7f});
  const struct {
    const char* name;
    std::string block;
  } cases[] = {
      {"wrong magic", "PLX2" + amount},
      {"too short for the magic", "PL"},
      {"old trailing text", "trailing bytes"},
      {"field header cut", "PLX1" + amount + Bytes({1, 12, 0})},
      {"length past the end", "PLX1" + amount.substr(0, amount.size() - 1)},
      {"huge length", "PLX1" + Bytes({3, 0xff, 0xff, 0xff, 0xff}) + "x"},
      {"paid-on too short", "PLX1" + Field(1, Bytes({0, 0, 0, 0}))},
      {"paid-on not a number", "PLX1" + Field(1, Bytes({0, 0, 0, 0}) + nan)},
      {"amount not a number", "PLX1" + Field(2, nan)},
      {"amount too long", "PLX1" + Field(2, nan + "x")},
      {"amount beyond ten trillion",
       "PLX1" + Field(2, Bytes({0x00, 0xa0, 0xd8, 0x85, 0x57, 0x34, 0x66, 0x43}))},
      {"reference not UTF-8", "PLX1" + Field(3, "\xff\xfe")},
      {"the payee's IBAN twice", "PLX1" + Field(6, "DE") + Field(6, "DE")},
      {"a second payment's amount not a number", "PLX1" + amount + amount + Field(2, nan)},
      {"renewal date cut", "PLX1" + Field(8, Bytes({0, 0, 0, 0}))},
      {"notice unit unknown", "PLX1" + Field(9, Bytes({4, 1, 0, 0, 0}))},
      {"notice of no length", "PLX1" + Field(9, Bytes({3, 0, 0, 0, 0}))},
  };
  for (const auto& c : cases) {
    const std::string file = kPlainBytes + c.block;
    const Result<DueRecord> decoded = DecodeRecord(file);
    ASSERT_TRUE(decoded.ok()) << c.name;
    DueRecord record = decoded.value();
    EXPECT_FALSE(record.paidOn || record.paidAmount) << c.name;
    EXPECT_EQ(record.damagedExtension, c.block) << c.name;
    EXPECT_EQ(CheckExtension(record.damagedExtension).code(), StatusCode::kCorrupt) << c.name;
    EXPECT_EQ(EncodeRecord(record), file) << c.name;

    record.notes = "changed";
    EXPECT_EQ(EncodeRecord(record).substr(EncodeRecord(record).size() - c.block.size()), c.block)
        << c.name;

    // Paying such a due keeps the unreadable bytes inside the new block.
    record.paidAmount = 12.0;
    const DueRecord paid = DecodeRecord(EncodeRecord(record)).value();
    EXPECT_EQ(paid.paidAmount, 12.0) << c.name;
    EXPECT_EQ(paid.unknownFields, Field(255, c.block)) << c.name;
    EXPECT_TRUE(paid.damagedExtension.empty()) << c.name;
  }
}

// A due paid in parts: each payment a group of tags 1 to 5, a tag not above the one before it
// starting the next. One payment stays the block every earlier version writes.
TEST(RecordExtensionTest, PaymentsInPartsAreGroupsInOrder) {
  const std::string firstOn = Field(1, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x90, 0x1a, 0xe3, 0x40}));
  const std::string firstAmount = Field(2, Bytes({0, 0, 0, 0, 0, 0xe0, 0x57, 0x40}));  // 95.5
  DueRecord record = PlainRecord();
  record.paid = 0;
  record.amount = 300;
  const std::string unpaid = EncodeRecord(record);
  record.paidOn = OleDateTime(39124.5);
  record.paidAmount = 95.5;
  EXPECT_EQ(EncodeRecord(record), unpaid + "PLX1" + firstOn + firstAmount)
      << "one payment: byte for byte the block of a single payment";

  record.laterParts.push_back({std::nullopt, 100.0, "T-2", "", ""});
  record.laterParts.push_back({OleDateTime(39130.0), 104.5, "", "STADTWERKE", ""});
  const std::string bytes = EncodeRecord(record);
  const std::string hundred = Field(2, Bytes({0, 0, 0, 0, 0, 0, 0x59, 0x40}));
  const std::string later = Field(1, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x1b, 0xe3, 0x40})) +
                            Field(2, Bytes({0, 0, 0, 0, 0, 0x20, 0x5a, 0x40})) +
                            Field(4, "STADTWERKE");
  EXPECT_EQ(bytes, unpaid + "PLX1" + firstOn + firstAmount + hundred + Field(3, "T-2") + later);
  const DueRecord read = DecodeRecord(bytes).value();
  EXPECT_EQ(read, record);
  EXPECT_EQ(PaidCents(read), 30000);
  EXPECT_EQ(LeftCents(read), 0);
}

TEST(RecordExtensionTest, ARenewalAndItsNoticeTravelWithTheDue) {
  DueRecord record = PlainRecord();
  record.renewsOn = OleDateTime(46387.0);  // 2026-12-31
  record.noticePeriod = {NoticeUnit::kMonths, 3};
  const std::string bytes = EncodeRecord(record);
  EXPECT_EQ(bytes, kPlainBytes + "PLX1" +
                       Field(8, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x60, 0xa6, 0xe6, 0x40})) +
                       Field(9, Bytes({3, 3, 0, 0, 0})));
  EXPECT_EQ(DecodeRecord(bytes).value(), record);
}

}  // namespace
}  // namespace paylark

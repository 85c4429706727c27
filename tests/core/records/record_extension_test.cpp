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

TEST(RecordExtensionTest, ARecordWithoutPaymentDetailsHasNoBlock) {
  const DueRecord decoded = DecodeRecord(kPlainBytes).value();
  EXPECT_FALSE(decoded.paidOn || decoded.paidAmount);
  EXPECT_EQ(EncodeRecord(decoded), kPlainBytes);
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
  const std::string unknown = Field(9, "future") + Field(12, "") + Field(200, "\x01\x02");
  const std::string file = kPlainBytes + "PLX1" + Field(9, "future") +
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
      {"a field twice", "PLX1" + amount + amount},
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

TEST(RecordExtensionTest, AnEmptyBlockAndAnEmptyReferenceAreReadable) {
  EXPECT_TRUE(CheckExtension("").ok());
  EXPECT_TRUE(CheckExtension("PLX1").ok());
  const DueRecord record = DecodeRecord(kPlainBytes + "PLX1" + Field(3, "")).value();
  EXPECT_TRUE(record.damagedExtension.empty());
  EXPECT_TRUE(record.paymentReference.empty());
}

}  // namespace
}  // namespace paylark

#include "core/records/record_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace paylark {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values)
    bytes += static_cast<char>(v);
  return bytes;
}

DueRecord RentRecord() {
  DueRecord record;
  record.recordId = "2007021014302510";
  record.title = "Rent";
  record.startDate = OleDateTime(39114.375);
  record.dueDate = OleDateTime(39123.75);
  record.payTo = "Landlord";
  record.account = "Checking";
  record.amount = 850.0;
  record.type = 2;
  return record;
}

const std::string kRentBytes =
    "\x10"
    "2007021014302510"
    "\x04"
    "Rent" +
    Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x4c, 0x19, 0xe3, 0x40}) +
    Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x78, 0x1a, 0xe3, 0x40}) +
    "\x08"
    "Landlord"
    "\x08"
    "Checking" +
    Bytes({0, 0, 0, 0, 0, 0x90, 0x8a, 0x40, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0});

TEST(RecordCodecTest, WritesTheWorkedExampleByteForByte) {
  ASSERT_EQ(kRentBytes.size(), 82u);
  EXPECT_EQ(EncodeRecord(RentRecord()), kRentBytes);
  const Result<DueRecord> decoded = DecodeRecord(kRentBytes);
  ASSERT_TRUE(decoded.ok()) << decoded.status().message();
  EXPECT_EQ(decoded.value(), RentRecord());
}

TEST(RecordCodecTest, EmptyStringsGiveA46ByteFileWithOnlyTheIdSet) {
  DueRecord record;
  record.recordId = "x";
  record.dueDate = OleDateTime(1.5);
  const std::string bytes = EncodeRecord(record);
  EXPECT_EQ(bytes.size(), 46u + 1);  // the one-character ID adds its byte
  record.recordId.clear();
  EXPECT_EQ(EncodeRecord(record).size(), 46u);
}

TEST(RecordCodecTest, LengthPrefixesGrowWithTheString) {
  struct Case {
    std::size_t length;
    std::string prefix;
  };
  const Case cases[] = {
      {254, "\xFE"},
      {255, Bytes({0xFF, 0xFF, 0x00})},
      {300, Bytes({0xFF, 0x2C, 0x01})},
      {65533, Bytes({0xFF, 0xFD, 0xFF})},
      {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})},
      {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
  };
  for (const Case& c : cases) {
    DueRecord record = RentRecord();
    record.notes = std::string(c.length, 'n');
    const std::string bytes = EncodeRecord(record);
    const std::size_t notesAt = 82 - 2;
    EXPECT_EQ(bytes.substr(notesAt, c.prefix.size()), c.prefix) << c.length;
    const Result<DueRecord> back = DecodeRecord(bytes);
    ASSERT_TRUE(back.ok()) << c.length;
    EXPECT_EQ(back.value().notes.size(), c.length);
  }
}

TEST(RecordCodecTest, ReadsUtf16AndWindows1252TextAsUtf8) {
  DueRecord record = RentRecord();
  record.title = "Caf\xC3\xA9 \xE2\x82\xAC";  // stays as it is
  std::string bytes = EncodeRecord(record);
  EXPECT_EQ(DecodeRecord(bytes).value().title, record.title);

  // "Miete €" as Windows-1252, and "Zoë" as a UTF-16 string: FF FE FF, then 3 code units.
  std::string legacy =
      "\x10"
      "2007021014302510"
      "\x07"
      "Miete \x80" +
      kRentBytes.substr(22);
  EXPECT_EQ(DecodeRecord(legacy).value().title, "Miete \xE2\x82\xAC");
  std::string wide =
      "\x10"
      "2007021014302510" +
      Bytes({0xFF, 0xFE, 0xFF, 3, 'Z', 0, 'o', 0, 0xEB, 0}) + kRentBytes.substr(22);
  EXPECT_EQ(DecodeRecord(wide).value().title, "Zo\xC3\xAB");
}

// A load reads records as views: UTF-8 texts point into the file's bytes, converted ones into the
// scratch record, which also takes the payment details; a scratch record reused for the next file
// keeps nothing of the last one's details.
TEST(RecordCodecTest, AViewPointsIntoTheBytesAndHoldsOnlyWhatItConverted) {
  DueRecord paid = RentRecord();
  paid.title = "Miete \x80";  // written as it is: Windows-1252 in the file
  paid.paidOn = *OleDateTime::FromCivil(2026, 12, 1);
  paid.paymentReference = "TX-1";
  const std::string paidBytes = EncodeRecord(paid);
  DueView view;
  DueRecord held;
  ASSERT_TRUE(ReadRecordView(paidBytes, view, held).ok());
  const auto inBytes = [&paidBytes](std::string_view text) {
    return text.data() >= paidBytes.data() && text.data() < paidBytes.data() + paidBytes.size();
  };
  EXPECT_TRUE(inBytes(view.recordId));
  EXPECT_TRUE(inBytes(view.payTo));
  EXPECT_EQ(view.title, "Miete \xE2\x82\xAC");
  EXPECT_EQ(view.title.data(), held.title.data());
  EXPECT_EQ(held.paymentReference, "TX-1");
  ASSERT_TRUE(held.paidOn.has_value());

  const std::string plainBytes = EncodeRecord(RentRecord());
  ASSERT_TRUE(ReadRecordView(plainBytes, view, held).ok());
  EXPECT_FALSE(held.paidOn.has_value());
  EXPECT_TRUE(held.paymentReference.empty());
  DueRecord copied = held;
  AssignFields(view, copied);
  EXPECT_EQ(copied, RentRecord());
  EXPECT_EQ(ReadRecordView(plainBytes.substr(0, 30), view, held).code(), StatusCode::kCorrupt);
}

TEST(RecordCodecTest, DamagedFilesAreCorruptNotCrashes) {
  for (std::size_t cut = 0; cut < kRentBytes.size(); ++cut) {
    EXPECT_EQ(DecodeRecord(kRentBytes.substr(0, cut)).status().code(), StatusCode::kCorrupt) << cut;
  }
  const std::string longPrefix = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}) + "abc";
  EXPECT_EQ(DecodeRecord(longPrefix).status().code(), StatusCode::kCorrupt);
  EXPECT_TRUE(DecodeRecord(kRentBytes + "trailing bytes are never read").ok());
}

// Two dues of 5e16 once made the Unpaid sum wrap to a negative number: a record file's amount
// beyond ten trillion is refused as it loads.
TEST(RecordCodecTest, AmountsBeyondTenTrillionAreRefused) {
  for (const double amount : {5e16, -1e13 - 0.01, 1e300}) {
    DueRecord record = RentRecord();
    record.amount = amount;
    const Result<DueRecord> decoded = DecodeRecord(EncodeRecord(record));
    EXPECT_EQ(decoded.status().code(), StatusCode::kCorrupt) << amount;
    EXPECT_EQ(decoded.status().message(),
              "The amount of the due is beyond 10,000,000,000,000 (ten trillion), the most "
              "Paylark keeps.");
  }
  DueRecord record = RentRecord();
  record.amount = 1e13;
  EXPECT_TRUE(DecodeRecord(EncodeRecord(record)).ok());
}

TEST(RecordCodecTest, RecordIdsMustBePlainTokens) {
  for (const char* id : {"", "   ", "../x", "a/b", "a\\b", "..", "a\x01"}) {
    DueRecord record = RentRecord();
    record.recordId = id;
    EXPECT_EQ(DecodeRecord(EncodeRecord(record)).status().code(), StatusCode::kCorrupt) << id;
  }
  EXPECT_TRUE(IsPlainRecordId(" 2007021014302510 "));
  EXPECT_EQ(TrimmedRecordId(" 2007021014302510 "), "2007021014302510");
}

}  // namespace
}  // namespace paylark

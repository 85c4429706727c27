// Writes the fuzzer's seed corpus: record files of the kinds Paylark meets, one per file.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/records/record_codec.h"

namespace {

std::vector<paylark::DueRecord> Seeds() {
  using paylark::OleDateTime;
  paylark::DueRecord plain;
  plain.recordId = "2026120509000010";
  plain.title = "Rent";
  plain.payTo = "Landlord";
  plain.amount = 850;
  plain.startDate = *OleDateTime::FromCivil(2026, 12, 1, 9);
  plain.dueDate = *OleDateTime::FromCivil(2026, 12, 5, 18);

  paylark::DueRecord member = plain;
  member.recordId = "2026120509000001";
  member.seriesId = "recId20261205090000";
  member.title = "Café € <Strom & Gas>";
  member.notes = "first line\r\nsecond line";
  member.type = paylark::kTypePersonal;
  member.paid = 1;

  paylark::DueRecord odd = plain;
  odd.recordId = " 2026120509000010 ";
  odd.dueDate = OleDateTime(-657434.5);
  odd.startDate = OleDateTime(0, OleDateTime::Status::kInvalid);
  odd.amount = 1e13;
  odd.account = std::string(300, 'A');

  paylark::DueRecord paid = member;
  paid.paidOn = *OleDateTime::FromCivil(2026, 12, 4, 10);
  paid.paidAmount = 851.25;
  paid.paymentReference = "FITID-20261204-0042";
  paid.unknownFields = std::string("\x13\x03\x00\x00\x00new", 8);

  paylark::DueRecord damaged = plain;
  damaged.damagedExtension = std::string("PLX1\x02\xff\x00\x00\x00", 9);  // runs past the end
  return {plain, member, odd, paid, damaged};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: record_seeds FOLDER\n");
    return 2;
  }
  int n = 0;
  for (const paylark::DueRecord& record : Seeds()) {
    const std::string bytes = paylark::EncodeRecord(record);
    std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(++n) + ".due", std::ios::binary)
        << bytes;
    // The same record cut short: the decoder's early-end paths.
    std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n) + "-cut.due", std::ios::binary)
        << bytes.substr(0, bytes.size() / 2);
  }
  return 0;
}

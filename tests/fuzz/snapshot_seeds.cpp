// Writes the snapshot fuzzer's seed corpus: snapshots of an empty folder, of one record and of
// several, as the store writes them.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/records/record_snapshot.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: snapshot_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = "/home/ada/Bills/Paylark Files";
  const std::vector<std::vector<paylark::SnapshotEntry>> seeds = {
      {},
      {{"duedate2026120509000010.due", 1234, 1764950400, "\x10\x32\x30\x32\x36"}},
      {{"duedate2026120509000001.due", 17, 1764950400, std::string_view("\x00\x01\x02", 3)},
       {"duedate2026120509000002.due", 18, 1764950401, "Rent"},
       {"duedate2026120509000003.due", 19, -1, ""}},
  };
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream(std::string(argv[1]) + "/snapshot-" + std::to_string(i), std::ios::binary)
        << paylark::EncodeSnapshot(folder, seeds[i]);
  }
  return 0;
}

// Writes the restore fuzzer's seed corpus: backup zips as a restore is given them, one empty,
// one with a record, and one with records beside a file kept aside as unreadable.
#include <zip.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/records/due_record.h"
#include "core/records/record_codec.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

bool WriteZip(const std::string& path, const Entries& entries) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr)
    return false;
  for (const auto& [name, bytes] : entries) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    if (source == nullptr || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(source);
      zip_discard(archive);
      return false;
    }
  }
  return zip_close(archive) == 0;
}

std::string RecordBytes(const char* id, const char* title, double amount) {
  paylark::DueRecord record;
  record.recordId = id;
  record.title = title;
  record.amount = amount;
  return paylark::EncodeRecord(record);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: restore_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string files = "Paylark Files/";
  const std::vector<Entries> seeds = {
      {{files, ""}},
      {{files + "duedate2026120509000010.due", RecordBytes("2026120509000010", "Rent", 850)}},
      {{files + "duedate2026120509000001.due", RecordBytes("2026120509000001", "Power", 92.4)},
       {files + "duedate2026120509000002.due", RecordBytes("2026120509000002", "Gym", 35)},
       {files + "Unreadable/duedate2026120509000003.due", std::string("\x01\x02", 2)}},
  };
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    if (!WriteZip(folder + "/backup-" + std::to_string(i) + ".zip", seeds[i]))
      return 1;
  }
  return 0;
}

#include "core/records/record_loading.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "core/records/record_codec.h"

namespace paylark {
namespace {

// Fewer jobs than this are not worth a thread.
constexpr std::size_t kParallelFrom = 256;

// Reads the part's files (several in flight, as the reader sees fit), then decodes them.
void LoadPart(const FolderReader& reader, std::span<LoadJob> jobs) {
  std::vector<std::string_view> names;
  std::vector<LoadJob*> reading;
  for (LoadJob& job : jobs) {
    if (job.cached)
      continue;
    names.push_back(job.name);
    reading.push_back(&job);
  }
  reader.ReadEach(names, kMaxRecordFileBytes,
                  [&reading](std::size_t i, Result<std::string> read, const FileInfo& info) {
                    LoadJob& job = *reading[i];
                    job.readInfo = info;
                    if (!read.ok()) {
                      job.unread = true;
                      job.record = read.status();
                      return;
                    }
                    job.readBytes = std::move(read).value();
                  });
  for (LoadJob& job : jobs) {
    if (!job.unread)
      job.record = DecodeRecord(job.bytes());
  }
}

}  // namespace

void RunLoadJobs(const RecordFolder& folder, std::span<LoadJob> jobs) {
  const std::unique_ptr<FolderReader> reader = folder.Reader();
  const std::size_t parts =
      jobs.size() < kParallelFrom ? 1 : std::max(2u, std::thread::hardware_concurrency());
  const std::size_t partSize = (jobs.size() + parts - 1) / parts;
  std::vector<std::jthread> others;
  for (std::size_t start = partSize; start < jobs.size(); start += partSize)
    others.emplace_back([&, start] {
      LoadPart(*reader, jobs.subspan(start, std::min(partSize, jobs.size() - start)));
    });
  LoadPart(*reader, jobs.first(std::min(partSize, jobs.size())));
}

}  // namespace paylark

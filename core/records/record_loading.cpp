#include "core/records/record_loading.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "core/records/record_codec.h"
#include "core/records/record_file_name.h"

namespace paylark {
namespace {

// Reads in flight where the reader has only one at a time: a disk answers several at once much
// sooner than one after another.
constexpr unsigned kReadsInFlight = 16;
// Fewer jobs than this are not worth a thread.
constexpr std::size_t kParallelFrom = 256;
// Jobs a thread takes at a time.
constexpr std::size_t kPartJobs = 256;

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
                      job.status = read.status();
                      return;
                    }
                    job.readBytes = std::move(read).value();
                  });
  for (LoadJob& job : jobs) {
    if (job.unread)
      continue;
    job.status = ReadRecordView(job.bytes(), job.record, job.held);
    job.namedAfterRecord = job.status.ok() && IsNamedAfter(job.name, job.record.recordId);
  }
}

}  // namespace

void RunLoadJobs(const RecordFolder& folder, std::span<LoadJob> jobs) {
  const std::unique_ptr<FolderReader> reader = folder.Reader();
  if (jobs.size() < kParallelFrom) {
    LoadPart(*reader, jobs);
    return;
  }
  // Each thread takes the next few jobs as it is free: one that waited for a core does less.
  std::atomic<std::size_t> next = 0;
  auto work = [&] {
    for (std::size_t start = next.fetch_add(kPartJobs); start < jobs.size();
         start = next.fetch_add(kPartJobs))
      LoadPart(*reader, jobs.subspan(start, std::min(kPartJobs, jobs.size() - start)));
  };
  const unsigned threads = reader->ReadsManyAtOnce()
                               ? std::max(2u, std::thread::hardware_concurrency())
                               : kReadsInFlight;
  std::vector<std::jthread> others;
  for (unsigned i = 1; i < threads; ++i)
    others.emplace_back(work);
  work();
}

}  // namespace paylark

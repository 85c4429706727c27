#include "core/records/record_loading.h"

#include <atomic>
#include <thread>
#include <vector>

#include "core/records/record_codec.h"

namespace paylark {
namespace {

// Reads in flight: a disk answers several at once much sooner than one after another.
constexpr unsigned kReaders = 16;
// Fewer jobs than this are not worth a thread.
constexpr std::size_t kParallelFrom = 256;

void Load(const FolderReader& folder, LoadJob& job) {
  if (!job.cached) {
    Result<std::string> read = folder.Read(job.name, kMaxRecordFileBytes, job.readInfo);
    if (!read.ok()) {
      job.unread = true;
      job.record = read.status();
      return;
    }
    job.readBytes = std::move(read).value();
  }
  job.record = DecodeRecord(job.bytes());
}

}  // namespace

void RunLoadJobs(const RecordFolder& folder, std::span<LoadJob> jobs) {
  const std::unique_ptr<FolderReader> reader = folder.Reader();
  if (jobs.size() < kParallelFrom) {
    for (LoadJob& job : jobs)
      Load(*reader, job);
    return;
  }
  std::atomic<std::size_t> next = 0;
  auto work = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++)
      Load(*reader, jobs[i]);
  };
  std::vector<std::jthread> readers;
  for (unsigned i = 1; i < kReaders; ++i)
    readers.emplace_back(work);
  work();
}

}  // namespace paylark

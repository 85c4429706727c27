#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/base/clock.h"
#include "core/records/record_store.h"
#include "tests/support/scratch_folder.h"

// Helpers of the benchmark programs, which print one "name value" line per figure.
namespace paylark::bench {

// A record store over a scratch folder as its working directory.
class ScratchStore {
 public:
  explicit ScratchStore(const Clock& clock, Durability durability = Durability::kUnsynced)
      : store_(clock, folder_.path().string(), SystemFileSystem()) {
    store_.SetDurability(durability);
    (void)store_.Reload();
  }
  ScratchStore(const ScratchStore&) = delete;
  ScratchStore& operator=(const ScratchStore&) = delete;

  RecordStore& store() { return store_; }
  const std::string& directory() const { return store_.workingDirectory(); }

 private:
  testing::ScratchFolder folder_;
  RecordStore store_;
};

template <class Work>
double Seconds(Work&& work) {
  const auto begin = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

// The fastest of a few runs, which is the least disturbed by the rest of the machine.
template <class Work>
double BestSeconds(int runs, Work&& work) {
  double best = Seconds(work);
  for (int i = 1; i < runs; ++i)
    best = std::min(best, Seconds(work));
  return best;
}

inline void PrintFigure(std::string_view name, double value) {
  std::printf("%.*s %.3f\n", static_cast<int>(name.size()), name.data(), value);
  std::fflush(stdout);
}

}  // namespace paylark::bench

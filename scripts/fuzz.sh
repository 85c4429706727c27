#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (CMake's PAYLARK_FUZZ tree) and fuzzes
# each for SECONDS (default 20) under the address and undefined-behaviour sanitizers, from the
# seed corpus that its seed writer makes. Where clang or libFuzzer is missing it says so and
# exits 0. A crash exits non-zero and leaves its input in the target's folder.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (build folder: $PAYLARK_FUZZ_DIR, else build-fuzz/)
set -euo pipefail

seconds=${1:-20}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
out=${PAYLARK_FUZZ_DIR:-$root/build-fuzz}
mkdir -p "$out"

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is not installed; skipped"
  exit 0
fi
probe="$out/probe.cpp"
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' >"$probe"
if ! clang++ -fsanitize=fuzzer "$probe" -o "$out/probe" 2>/dev/null; then
  echo "fuzz: libFuzzer is not installed (libfuzzer-14-dev); skipped"
  exit 0
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DPAYLARK_FUZZ=ON -DPAYLARK_BUILD_UI=OFF -DPAYLARK_BUILD_TESTS=OFF -DPAYLARK_BUILD_BENCH=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$out" -j "$(nproc)" --target fuzzers

targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets <"$out/fuzz_targets.txt"
# LibOFX leaks an allocation of its own on some statements: tests/lsan.supp names it.
suppressions="$root/tests/lsan.supp"
fuzz_one() {
  local target=$1 folder="$out/fuzz/$1"
  mkdir -p "$folder/seeds" "$folder/corpus"
  "$out/fuzz/${target}_seeds" "$folder/seeds"
  if ! (cd "$folder" && LC_ALL=en_US.UTF-8 LSAN_OPTIONS="suppressions=$suppressions" \
    "$out/fuzz/${target}_fuzzer" -max_total_time="$seconds" \
    -max_len=65536 -timeout=10 -print_final_stats=1 corpus seeds 2>"$folder/log"); then
    echo "fuzz: $target failed"
    tail -40 "$folder/log"
    return 1
  fi
  echo "fuzz: $target for $seconds seconds"
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$folder/log" || true
}
export -f fuzz_one
export out seconds suppressions
# One fuzzer per core at a time: each is single-threaded and still runs its full time.
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I {} bash -c 'fuzz_one "$1"' _ {}

#!/usr/bin/env bash
# Fuzzes the record-file decoder and the details display, then the reading of a backup zip that
# restore is given, with libFuzzer, under the address and undefined-behaviour sanitizers, for
# SECONDS each (default 60), starting from a seed corpus of record files that
# tests/fuzz/record_seeds.cpp writes (zipped as a backup for the second). Where clang or libFuzzer is missing it says so
# and exits 0. A crash exits non-zero and leaves its input in the output folder.
# Usage: scripts/fuzz.sh [SECONDS]        (output folder: $PAYLARK_FUZZ_DIR, else build-fuzz/)
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=${PAYLARK_FUZZ_DIR:-$root/build-fuzz}
mkdir -p "$out/objects" "$out/seeds" "$out/corpus" "$out/zip-seeds" "$out/zip-corpus"

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

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -I"$root" -fsanitize=address,undefined
       -fno-sanitize-recover=undefined)
objects=()
for source in "$root"/core/base/{format,local_time,messages,ole_date_time,text_encoding}.cpp \
              "$root"/core/records/{due_details,due_record,record_codec}.cpp; do
  object="$out/objects/$(basename "$source" .cpp).o"
  if [ ! -e "$object" ] || [ "$source" -nt "$object" ]; then
    clang++ "${flags[@]}" -fsanitize=fuzzer-no-link -c "$source" -o "$object"
  fi
  objects+=("$object")
done
clang++ "${flags[@]}" -fsanitize=fuzzer "$root/tests/fuzz/record_fuzzer.cpp" "${objects[@]}" \
  -o "$out/record_fuzzer"
clang++ "${flags[@]}" "$root/tests/fuzz/record_seeds.cpp" "${objects[@]}" -o "$out/record_seeds"
zip_objects=()
for source in "$root"/core/sync/{backup_zip,sync_file_names}.cpp; do
  object="$out/objects/$(basename "$source" .cpp).o"
  if [ ! -e "$object" ] || [ "$source" -nt "$object" ]; then
    clang++ "${flags[@]}" -fsanitize=fuzzer-no-link -c "$source" -o "$object"
  fi
  zip_objects+=("$object")
done
clang++ "${flags[@]}" -fsanitize=fuzzer "$root/tests/fuzz/restore_fuzzer.cpp" "${objects[@]}" \
  "${zip_objects[@]}" -lzip -o "$out/restore_fuzzer"

"$out/record_seeds" "$out/seeds"
python3 - "$out/seeds" "$out/zip-seeds/backup.zip" <<'PY'
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_DEFLATED) as backup:
    backup.writestr("Paylark Files/", "")
    for name in sorted(os.listdir(sys.argv[1])):
        with open(os.path.join(sys.argv[1], name), "rb") as seed:
            backup.writestr("Paylark Files/duedate20261205090000%02d.due" % (len(backup.namelist()) % 100), seed.read())
PY
cd "$out"
LC_ALL=en_US.UTF-8 ./record_fuzzer -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -print_final_stats=1 corpus seeds
./restore_fuzzer -max_total_time="$seconds" -max_len=262144 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 zip-corpus zip-seeds

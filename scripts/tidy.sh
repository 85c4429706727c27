#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the sources of the build's
# compile_commands.json (build/, or $PAYLARK_BUILD_DIR; built first, as the check reads the
# build's dependency files). Fails on any finding. A source that passed is checked again only
# when it, a header it includes or its compile command changes (scripts/tidy_files.py).
# Usage: scripts/tidy.sh              every source (a quarter of an hour on two cores the first
#                                     time); what CI runs
#        scripts/tidy.sh --changed    the sources that the commits of the last $PAYLARK_TIDY_HOURS
#                                     hours (default 4) before HEAD changed, and the sources
#                                     beside a changed header
#        scripts/tidy.sh PATH...      the sources in these folders or files; with
#                                     PAYLARK_BUILD_DIR=build-fuzz, tests/fuzz checks the fuzzers,
#                                     which only the fuzzing tree builds
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${PAYLARK_BUILD_DIR:-build}
if [ ! -f "$build_dir/compile_commands.json" ]; then
  echo "No $build_dir/compile_commands.json: run scripts/build.sh first." >&2
  exit 1
fi
if ! command -v clang-tidy >/dev/null; then
  echo "clang-tidy is missing: apt-get install clang-tidy" >&2
  exit 1
fi
# Our own files only, not the code the build generates (Qt's moc and resources).
ours='^(bench|cli|core|remote|settings|tests|ui)/'

if [ "${1:-}" != "--changed" ]; then
  mapfile -t sources < <(git ls-files -- "$@" | grep -E "$ours" | grep '\.cpp$')
  exec /usr/bin/python3 scripts/tidy_files.py "$build_dir" "${sources[@]}"
fi

if ! git rev-parse --verify -q HEAD >/dev/null; then
  echo "tidy: not a git checkout, so no change to check; skipped"
  exit 0
fi
hours=${PAYLARK_TIDY_HOURS:-4}
head_time=$(git log -1 --format=%ct HEAD)
base=$(git rev-list -1 --first-parent --before="$((head_time - hours * 3600))" HEAD || true)
if [ -n "$base" ]; then
  changed=$(git diff --name-only --diff-filter=AMR "$base" HEAD)
else
  changed=$(git ls-files)
fi
sources=()
while IFS= read -r file; do
  [[ "$file" =~ $ours ]] || continue
  case "$file" in
    *.cpp) [ -f "$file" ] && sources+=("$file") ;;
    *.h) [ -f "${file%.h}.cpp" ] && sources+=("${file%.h}.cpp") ;;
  esac
done <<<"$changed"
if [ ${#sources[@]} -eq 0 ]; then
  echo "tidy: no source changed in the last $hours hours of commits"
  exit 0
fi
mapfile -t sources < <(printf '%s\n' "${sources[@]}" | sort -u)
exec /usr/bin/python3 scripts/tidy_files.py "$build_dir" "${sources[@]}"

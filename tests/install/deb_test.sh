#!/usr/bin/env bash
# Builds the Debian package of a built tree into a temporary folder and checks its control data
# and that it holds the executables and, beside them, their data.
# Usage: deb_test.sh BUILD_DIR VERSION BINDIR DATADIR (the last two absolute). Exit 77: skipped.
set -uo pipefail
build_dir=$1 version=$2 bindir=$3 datadir=$4

command -v dpkg-deb >/dev/null || { echo "dpkg-deb is not available"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! cpack -G DEB -B "$work" --config "$build_dir/CPackConfig.cmake" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack -G DEB" >&2
  exit 1
fi
packages=("$work"/paylark_*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || { echo "FAIL: no paylark_*.deb" >&2; exit 1; }
package=${packages[0]}

dpkg-deb --info "$package" >"$work/info"
cat "$work/info"
grep -qx ' Package: paylark' "$work/info" || fail "package name"
grep -qx " Version: $version" "$work/info" || fail "version $version"
depends=$(sed -n 's/^ Depends: //p' "$work/info")
for runtime in libqt6widgets6 libqt6printsupport6 libqt6svg6 libxlsxwriter4 libzip4 libical3 \
  fonts-dejavu-core libc6 libstdc++6; do
  [[ ", $depends," == *", $runtime"[\ ,]* ]] || fail "Depends lacks $runtime"
done

dpkg-deb --contents "$package" | awk '{print $NF}' >"$work/contents"
for path in "$bindir/paylark" "$bindir/paylark-cli" "${bindir%/*}/lib/paylark/paylark-formats.so" \
  "${bindir%/*}/lib/paylark/paylark-archives.so" "${bindir%/*}/lib/paylark/paylark-views.so" \
  "${bindir%/*}/lib/paylark/paylark-remote.so" \
  "$datadir/paylark/Templates/exporttemplate.html" "$datadir/paylark/plkhelp.html" \
  "$datadir/applications/org.paylark.Paylark.desktop"; do
  grep -qx ".$path" "$work/contents" || fail "the package lacks $path"
done

service=./usr/lib/systemd/user/paylark-remind.service
grep -qx ./usr/lib/systemd/user/paylark-remind.timer "$work/contents" ||
  fail "the package lacks the reminder timer"
dpkg-deb --fsys-tarfile "$package" | tar -xO "$service" 2>/dev/null |
  grep -qx "ExecStart=$bindir/paylark-cli remind --notify" ||
  fail "the packaged reminder service does not start $bindir/paylark-cli"

[ "$failures" -eq 0 ]

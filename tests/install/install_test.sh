#!/usr/bin/env bash
# Installs a built tree into a temporary DESTDIR, checks what a desktop user gets there, and runs
# the installed paylark-cli so that its HTML export must come from the installed template.
# Usage: install_test.sh SOURCE_DIR BUILD_DIR BINDIR DATADIR MANDIR (the last three absolute).
set -uo pipefail
source_dir=$1 build_dir=$2 bindir=$3 datadir=$4 mandir=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect_file() {
  [ -f "$root$1" ] || fail "not installed: $1"
}

if ! DESTDIR=$root cmake --install "$build_dir" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

for program in paylark paylark-cli; do
  [ -x "$root$bindir/$program" ] || fail "not installed as an executable: $bindir/$program"
done
# The programs look for their modules in lib/paylark beside bin/.
for module in paylark-formats.so paylark-archives.so paylark-views.so paylark-remote.so; do
  expect_file "${bindir%/*}/lib/paylark/$module"
done

for name in exporttemplate.html printtemplate.html icon.bmp recicon.bmp; do
  cmp -s "$source_dir/resources/Templates/$name" "$root$datadir/paylark/Templates/$name" ||
    fail "template $name is missing or differs from resources/Templates/$name"
done
expect_file "$datadir/paylark/plkhelp.html"

desktop_entry=$datadir/applications/org.paylark.Paylark.desktop
expect_file "$desktop_entry"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root$desktop_entry" || fail "desktop-file-validate $desktop_entry"
fi
grep -qx 'Exec=paylark' "$root$desktop_entry" || fail "the desktop entry does not start paylark"
grep -qx 'Icon=org.paylark.Paylark' "$root$desktop_entry" || fail "the desktop entry's icon"

metainfo=$datadir/metainfo/org.paylark.Paylark.metainfo.xml
expect_file "$metainfo"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root$metainfo" >"$work/appstream.log" 2>&1
  if grep -q '^E:' "$work/appstream.log"; then
    cat "$work/appstream.log" >&2
    fail "appstreamcli validate $metainfo"
  fi
fi

expect_file "$datadir/icons/hicolor/scalable/apps/org.paylark.Paylark.svg"
for size in 16 32 48 128 256; do
  expect_file "$datadir/icons/hicolor/${size}x${size}/apps/org.paylark.Paylark.png"
done
[ -z "$(find "$root" -name 'app-icon-16.svg')" ] || fail "the 16 px icon's source was installed"

man_page=$root$mandir/man1/paylark-cli.1
if [ -f "$man_page.gz" ]; then
  # sed reads the whole page: head would leave gzip writing into a closed pipe (pipefail).
  gzip -dc "$man_page.gz" | sed -n 1p | grep -q '^\.TH PAYLARK-CLI 1' || fail "man page $man_page.gz"
else
  [ -f "$man_page" ] || fail "not installed: $mandir/man1/paylark-cli.1[.gz]"
fi

# The installed binary finds no Templates/ beside itself; the user's data folder, pointed at the
# installed data folder, is searched first. A marker in the installed copy shows which one was used.
printf '<!-- installed copy -->\n' >>"$root$datadir/paylark/Templates/exporttemplate.html"
mkdir -p "$work/home" "$work/workdir"
cli() {
  env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
    XDG_DATA_HOME="$root$datadir" LC_ALL=en_US.UTF-8 \
    "$root$bindir/paylark-cli" --dir "$work/workdir" "$@"
}
cli --help >/dev/null || fail "paylark-cli --help"
if cli add --title "Installed rent" --due "2026-12-05 09:00" --amount 850 >/dev/null &&
  cli export html --month 2026-12 --output "$work/dues.html"; then
  grep -q 'Installed rent' "$work/dues.html" || fail "the export lacks the due"
  grep -q '<!-- installed copy -->' "$work/dues.html" || fail "the export did not use the installed template"
else
  fail "the installed paylark-cli could not add a due and export it"
fi
# The zip comes from the formats module, which the installed program finds in lib/paylark.
cli backup --output "$work/backup.zip" >/dev/null && [ -s "$work/backup.zip" ] ||
  fail "the installed paylark-cli could not take a backup through its formats module"

[ "$failures" -eq 0 ] || exit 1
echo "installed tree:"
(cd "$root" && find . -type f | sort)

#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Paylark need, skipping
# those already installed. Safe to run any number of times.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev qt6-charts-dev qt6-pdf-dev libqt6opengl6-dev libxlsxwriter-dev libzip-dev libical-dev
  libofx-dev libxml2-dev liburing-dev
  # CalDAV and push: the password and token in the desktop's secret service
  qtkeychain-qt6-dev
  libfontconfig-dev libharfbuzz-dev
  # bills: their embedded e-invoices and rendered pages, payment QR codes, the scanned image files
  libpoppler-cpp-dev libzxing-dev libpng-dev libjpeg-dev
  libgtest-dev
  # runtime
  fonts-dejavu-core
  # tests
  locales-all qpdf poppler-utils python3-openpyxl python3-docx python3-icalendar
  fonts-wqy-microhei
  faketime xvfb xauth desktop-file-utils appstream
  syncthing
  # independent readers of the bank statement samples
  ofx libxml2-utils
  # payment QR codes made for the bill tests
  qrencode
  # the print page laid out by a real browser engine
  chromium
  # desktop notifications and the reminder timer
  dbus-daemon systemd
  # a CalDAV server, and a client of others' to read what Paylark left on it
  radicale python3-caldav
  # the formatting and clang-tidy checks
  clang-format clang-tidy
  # the fuzz targets
  clang libfuzzer-14-dev
  # a compiler cache, so that CI and a second build recompile only what changed
  ccache
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

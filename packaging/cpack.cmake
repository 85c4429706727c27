# A Debian package of everything `cmake --install` puts in place: `cpack -G DEB` in a build folder
# writes paylark_<version>_<arch>.deb, which installs under /usr like any other package. The
# executables find their templates and manual relative to their own folder, so the build's own
# install prefix does not matter here.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "paylark")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Paylark developers")
set(CPACK_PACKAGE_CONTACT "The Paylark developers <developers@paylark.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bill tracker: dues and payments month by month")
# Debian wants the long description in lines of less than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "\
Paylark keeps a list of your dues, bills and other payments that fall due on
a date, shown month by month with the paid, unpaid and total sums. Dues can
recur by day, week, month or year. A month exports to spreadsheet,
word-processor, HTML and PDF files, and a range of months prints through an
editable HTML template. The command-line tool paylark-cli works on the same
dues.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "office")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")

# dpkg-shlibdeps derives the library packages from the executables (Qt 6, libxlsxwriter, libzip,
# libical3, libofx7, libxml2, the C and C++ runtimes, and libqt6svg6, which also brings the SVG
# icon plugins). The UI font is not linked, so it is named here; without dpkg-shlibdeps every runtime package is named.
find_program(PAYLARK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PAYLARK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, \
libqt6printsupport6, libqt6svg6, libqt6charts6, libqt6dbus6, libqt6network6, libqt6keychain1, libqt6pdf6, \
libqt6concurrent6, \
libxlsxwriter4, libzip4, libfontconfig1, libharfbuzz0b, libharfbuzz-subset0, libical3, libofx7, libxml2, liburing2, fonts-dejavu-core")
endif()

include(CPack)

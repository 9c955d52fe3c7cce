# Installing and packaging: the desktop entry and start script (packaging/), and a Debian package made by CPack:
#   cpack -G DEB            (in the build folder), or
#   cmake --build <build> --target package
# gives orvella_1.0.0_amd64.deb, installing under /usr.
add_subdirectory(${CMAKE_CURRENT_LIST_DIR} ${CMAKE_BINARY_DIR}/packaging)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvella)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR Quenmark)
set(CPACK_PACKAGE_CONTACT "Quenmark <info@quenmark.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "appointment book for a small office")
# The package's long description, one line per line of the control file.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Orvella keeps a small office's appointments in half-hour slots from 08:00"
    "to 22:00. A month calendar (January 2008 to December 2035, Greek captions)"
    "shows how many slots of each day are taken; a click opens the day's sheet"
    "to edit, save and print to preview, printer or PDF file."
    ""
    "The appointments live in one encrypted file in a data folder. The menu"
    "entry starts Orvella in the user's own folder, ~/.local/share/Orvella,"
    "and makes it on first use.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quenmark <info@quenmark.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION office)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.quenmark.example/)
# The libraries the binaries link come from dpkg-shlibdeps (package dpkg-dev); the windows are laid out for
# Liberation Sans, and web addresses open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)

# include(CPack) also brings a source package target: keep it to one archive of the tracked tree, without the build
# folders, a data folder made by build.sh run, or the repository itself.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME orvella-1.0.0)
# "[.]" rather than an escaped dot: CPack writes these into its own configuration file, where "\." is an invalid
# escape sequence.
set(CPACK_SOURCE_IGNORE_FILES "/[.]git/" "^${CMAKE_SOURCE_DIR}/build[^/]*/" "^${CMAKE_SOURCE_DIR}/data/")

include(CPack)

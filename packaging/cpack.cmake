# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the program and the panel simulator: run `cpack` in
# the build folder. dpkg-shlibdeps (package dpkg-dev) works out the Depends
# from the libraries the executables link: Qt's runtime packages and the C and
# C++ runtimes, each with the version the build needs, and the SQL drivers.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velno)
set(CPACK_PACKAGE_VENDOR Velno)
set(CPACK_PACKAGE_CONTACT "Velno developers <velno@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Manages a door-entry and access-control panel over a serial line")
set(CPACK_PACKAGE_DESCRIPTION [[
A desktop program for the building technician who looks after the door-entry
panel of an apartment building: it connects to the panel at 1200 bit/s directly
or through a modem, sends parameter and control commands, reads the panel's
databases back and keeps tenant and parameter files.

Includes velno-batch, which pulls a panel's records or sends it a tenant
file unattended (from a timer, say), and velno-panel-sim, a simulated panel
on a pseudo-terminal for trying the program without hardware.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its SQL drivers as plugins, which the scan above cannot see; Qt's
# own packages only recommend them: SQLite for the store, PostgreSQL for the
# team database.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql")
set(CPACK_STRIP_FILES ON)
include(CPack)

# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers

# The Debian package (cpack -G DEB in the build folder, or scripts/dev.sh package) and the
# check that keeps a package from trusting the published test device CA by accident.

# A build whose device CA is the published test key says so (about panel, log at start).
file(READ "${VEXO_DEVICE_CA_PUBLIC_KEY_FILE}" vexo_ca_key)
file(READ "${PROJECT_SOURCE_DIR}/tools/testkeys/maker-device-ca.pub" vexo_test_ca_key)
string(STRIP "${vexo_ca_key}" vexo_ca_key)
string(STRIP "${vexo_test_ca_key}" vexo_test_ca_key)
string(TOLOWER "${vexo_ca_key}" vexo_ca_key)
string(TOLOWER "${vexo_test_ca_key}" vexo_test_ca_key)
if(vexo_ca_key STREQUAL vexo_test_ca_key)
    set(VEXO_USES_TEST_CA ON)
else()
    set(VEXO_USES_TEST_CA OFF)
endif()
option(VEXO_ALLOW_TEST_CA "Let a package be made of a build that trusts the published test device CA" OFF)

if(NOT UNIX OR APPLE)
    return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexotool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The VEXO Tool developers")
set(CPACK_PACKAGE_CONTACT "The VEXO Tool developers <vexotool@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find and set up network cameras and recorders")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "VEXO Tool finds the network cameras and recorders on the local network
segment and lists them live. It activates new devices, changes their network
parameters one by one or in batches, recovers forgotten passwords and exports
the device list. The command-line tool vexo-cli does the same operations for
scripts; vexo-devsim simulates devices for trying the program out, with the
published test keys of the source (its --keys-dir option).")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vexotool.example.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The dependencies come from the libraries the binaries load (dpkg-shlibdeps); the program's
# own libraries are found through their RUNPATH.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads these at run time, so no binary names them: the platform and image plug-ins, and the
# database driver of the site journal's file. A shared journal on a server needs the other driver.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Only what a user runs; the tests' and benchmarks' files stay in the build tree.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")

# Read by cpack itself, so the refusal holds however the package is made;
# "cpack -D VEXO_ALLOW_TEST_CA=ON" allows it for one run.
set(CPACK_VEXO_USES_TEST_CA ${VEXO_USES_TEST_CA})
set(VEXO_ALLOW_TEST_CA_FOR_CPACK ${VEXO_ALLOW_TEST_CA})
configure_file(${CMAKE_CURRENT_LIST_DIR}/VexoPackageCheck.cmake.in ${PROJECT_BINARY_DIR}/VexoPackageCheck.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/VexoPackageCheck.cmake)
include(CPack)

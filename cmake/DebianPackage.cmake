# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers

# `make package` (cpack) builds tarvelo_<version>_<arch>.deb from the install
# rules of the default build, which uses Debian's hardened flags. Version
# 1.00 has no Debian revision: the package is native. The library
# dependencies come from dpkg-shlibdeps; the rest, from asking dpkg which
# packages hold the files that the game loads (cmake/PackageOwners.cmake,
# run by cpack), since Debian's releases keep them in differently named
# packages.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarvelo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "number trick on a watch face")
set(CPACK_PACKAGE_DESCRIPTION "Think of a number from 1 to 12, click the watch twenty minus that many
times and press Stop: the game shows your number. While you click, a red
marker jumps around the dial, and the one left lit never points at your
number. The game's window speaks Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tarvelo developers <maintainers@tarvelo.org>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_TARVELO_QT_PLUGINS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
set(CPACK_TARVELO_QT_TRANSLATIONS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageOwners.cmake)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Directories as Debian's policy has them, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)

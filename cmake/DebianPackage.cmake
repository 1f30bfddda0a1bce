# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers

# `make package` (cpack) builds tarvelo_<version>_<arch>.deb from the install
# rules of the default build, which uses Debian's hardened flags. Version
# 1.00 has no Debian revision: the package is native. The library
# dependencies come from dpkg-shlibdeps; beyond them the window needs its
# faces and Qt's SVG image plugin (in libqt6svg6), which draws the pictures
# at the pixel ratios that the game has no pixels drawn at build time for. Qt's own texts in Russian are welcome but not needed, and so is
# Qt's Wayland platform, for a desktop with no X server at all.

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
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-liberation2, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Directories as Debian's policy has them, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)

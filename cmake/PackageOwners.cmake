# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers

# Run by cpack: the package's dependencies beyond the libraries it links,
# named by the packages that hold them on the release the package is built
# on. Beside the libraries, the window needs its two faces, bold Liberation
# Sans and, for the answer field, bold Liberation Sans Narrow (fontconfig
# says which files Qt will open), and Qt's SVG image plugin, which draws
# the pictures at the pixel ratios that the build drew no pixels for. Qt's
# own texts in Russian are welcome but not needed, and so is Qt's Wayland
# platform, for a desktop with no X server at all.

# Appends to `var` the package that holds each of `files`, once each.
function(tarvelo_owners var)
    if(NOT ARGN)
        message(FATAL_ERROR "${var}: a file that the game loads is not installed (scripts/install-deps package)")
    endif()
    set(owners ${${var}})
    foreach(file IN LISTS ARGN)
        execute_process(COMMAND dpkg-query -S ${file} OUTPUT_VARIABLE found RESULT_VARIABLE failed ERROR_QUIET)
        # "package[:arch][, other]: path"; the first is the one that ships it.
        string(REGEX MATCH "^[^:, ]+" owner "${found}")
        if(failed OR NOT owner)
            message(FATAL_ERROR "no Debian package holds ${file}: install it (scripts/install-deps package)")
        endif()
        list(APPEND owners ${owner})
    endforeach()
    list(REMOVE_DUPLICATES owners)
    set(${var} ${owners} PARENT_SCOPE)
endfunction()

# The file that fontconfig gives Qt for `pattern`, which must be of `family`.
function(tarvelo_face var family pattern)
    execute_process(COMMAND fc-match -f "%{family[0]}\n%{file}" "${pattern}"
                    OUTPUT_VARIABLE found RESULT_VARIABLE failed ERROR_QUIET)
    string(REPLACE "\n" ";" found "${found}")
    list(GET found 0 matched)
    if(failed OR NOT matched STREQUAL family)
        message(FATAL_ERROR "the face ${family} is not installed (scripts/install-deps package)")
    endif()
    list(GET found 1 file)
    set(${var} ${file} PARENT_SCOPE)
endfunction()

tarvelo_face(window_face "Liberation Sans" "Liberation Sans:bold")
tarvelo_face(answer_face "Liberation Sans Narrow" "Liberation Sans Narrow:bold")
file(GLOB svg_plugin ${CPACK_TARVELO_QT_PLUGINS}/imageformats/*svg*.so)
set(depends)
tarvelo_owners(depends ${window_face} ${answer_face})
tarvelo_owners(depends ${svg_plugin})

# Qt's Wayland platform: its plugin, whose file name changed in Qt 6.11 (and
# its package with it), and the xdg-shell integration that it puts windows
# on the screen with, which Qt 6.11 keeps in a package of its own.
file(GLOB wayland_plugins ${CPACK_TARVELO_QT_PLUGINS}/platforms/*wayland*.so
     ${CPACK_TARVELO_QT_PLUGINS}/wayland-shell-integration/*xdg-shell*.so)
set(recommends)
tarvelo_owners(recommends ${CPACK_TARVELO_QT_TRANSLATIONS}/qtbase_ru.qm)
tarvelo_owners(recommends ${wayland_plugins})

list(JOIN depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
list(JOIN recommends ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS)

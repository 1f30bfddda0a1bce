# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers

# The flags that Debian builds its packages with, all hardening on: the
# stack protector, checked libc calls, read-only relocations and binding
# at start. CMake never reads CPPFLAGS, and the other variables only from
# the environment of a first configure, so they are asked of
# dpkg-buildflags here and apply to everything the build compiles.
find_program(TARVELO_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)

function(tarvelo_debian_flags variable out)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${TARVELO_DPKG_BUILDFLAGS} --get ${variable}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags
        OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(${out} ${flags} PARENT_SCOPE)
endfunction()

tarvelo_debian_flags(CPPFLAGS cppflags)
tarvelo_debian_flags(CXXFLAGS cxxflags)
tarvelo_debian_flags(LDFLAGS ldflags)
# At level 2 the copies of libc calls that the C++ library inlines stay
# unchecked; level 3 checks them too.
list(TRANSFORM cppflags REPLACE "^-D_FORTIFY_SOURCE=2$" "-D_FORTIFY_SOURCE=3")
add_compile_options(${cppflags} ${cxxflags})
add_link_options(${ldflags})

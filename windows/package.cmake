# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers

# The files a Windows user downloads: a zip of the program and its licence,
# and an installer made with Debian's makensis (installer.nsi). Both are
# the same bytes wherever and whenever one commit is built: the files in
# them carry the time of SOURCE_DATE_EPOCH, else of the last commit, else a
# fixed one, and nothing else of the build's place or time goes in.
#
# Included by CMakeLists.txt, this file sets up the build; run by the build
# with `cmake -P` and a step, it does that step.

if(CMAKE_SCRIPT_MODE_FILE)
    cmake_policy(VERSION 3.25)
    if(step STREQUAL "epoch")
        # Asked at every build, as the last commit may have moved; written
        # only when it changes, so that nothing after it is made again.
        if(DEFINED ENV{SOURCE_DATE_EPOCH})
            set(epoch "$ENV{SOURCE_DATE_EPOCH}")
        else()
            execute_process(COMMAND git -C "${source}" log -1 --format=%ct
                            OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                            RESULT_VARIABLE failed)
            if(failed OR NOT epoch)
                set(epoch 1767225600) # 2026-01-01 00:00:00 UTC, for a tree outside git
            endif()
        endif()
        if(NOT epoch MATCHES "^[0-9]+$")
            message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${epoch}")
        endif()
        set(old "")
        if(EXISTS "${output}")
            file(READ "${output}" old)
        endif()
        if(NOT old STREQUAL "${epoch}")
            file(WRITE "${output}" "${epoch}")
        endif()
    elseif(step STREQUAL "stage")
        # The program and the licence, with fixed modes and the release's
        # time, for the zip and the installer alike.
        file(READ "${epoch_file}" epoch)
        file(REMOVE_RECURSE "${stage}")
        file(MAKE_DIRECTORY "${stage}")
        file(COPY_FILE "${exe}" "${stage}/tarvelo.exe")
        file(COPY_FILE "${licence}" "${stage}/LICENSE.txt")
        file(CHMOD "${stage}/tarvelo.exe" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                   GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        file(CHMOD "${stage}/LICENSE.txt" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
        execute_process(COMMAND touch -d "@${epoch}" "${stage}/tarvelo.exe" "${stage}/LICENSE.txt"
                        COMMAND_ERROR_IS_FATAL ANY)
        file(TOUCH "${output}")
    elseif(step STREQUAL "zip")
        # zip writes local time, so the zone is fixed; -X leaves out the
        # owner and the extra times, -D the folder entry, and the files go
        # in in a fixed order. An old zip would be updated, not replaced.
        file(REMOVE "${output}")
        set(ENV{TZ} UTC0)
        execute_process(COMMAND "${zip}" -X -D -q -9 "${output}" tarvelo.exe LICENSE.txt
                        WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)
    else()
        message(FATAL_ERROR "package.cmake: unknown step '${step}'")
    endif()
    return()
endif()

find_program(ZIP zip REQUIRED DOC "Info-ZIP's zip, which packs the zip")
find_program(MAKENSIS makensis REQUIRED DOC "makensis, which makes the installer")

set(package_dir ${CMAKE_CURRENT_BINARY_DIR}/package)
set(package_stage ${package_dir}/stage)
set(package_epoch ${package_dir}/source-date-epoch)
set(package_zip ${PROJECT_BINARY_DIR}/tarvelo-${PROJECT_VERSION}-windows-x64.zip)
set(package_installer ${PROJECT_BINARY_DIR}/tarvelo-${PROJECT_VERSION}-setup.exe)
set(package_script ${CMAKE_CURRENT_LIST_FILE})
file(MAKE_DIRECTORY ${package_dir})

add_custom_target(tarvelo_source_date_epoch
    COMMAND ${CMAKE_COMMAND} -Dstep=epoch -Dsource=${PROJECT_SOURCE_DIR} -Doutput=${package_epoch}
            -P ${package_script}
    BYPRODUCTS ${package_epoch}
    COMMENT "Taking the release's time"
    VERBATIM)

# The staged files themselves are no outputs: their times are the
# release's, older than what they are made from, and would look stale.
add_custom_command(
    OUTPUT ${package_dir}/staged
    COMMAND ${CMAKE_COMMAND} -Dstep=stage -Depoch_file=${package_epoch} -Dstage=${package_stage}
            -Dexe=$<TARGET_FILE:tarvelo> -Dlicence=${PROJECT_SOURCE_DIR}/LICENSE -Doutput=${package_dir}/staged
            -P ${package_script}
    DEPENDS tarvelo ${package_epoch} ${PROJECT_SOURCE_DIR}/LICENSE ${package_script}
    COMMENT "Staging the program and its licence"
    VERBATIM)
set_property(DIRECTORY APPEND PROPERTY ADDITIONAL_CLEAN_FILES ${package_stage})

add_custom_command(
    OUTPUT ${package_zip}
    COMMAND ${CMAKE_COMMAND} -Dstep=zip -Dzip=${ZIP} -Dstage=${package_stage} -Doutput=${package_zip}
            -P ${package_script}
    DEPENDS ${package_dir}/staged ${package_script}
    COMMENT "Packing tarvelo-${PROJECT_VERSION}-windows-x64.zip"
    VERBATIM)

add_custom_command(
    OUTPUT ${package_installer}
    COMMAND ${MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DSTAGE=${package_stage}
            -DICON=${CMAKE_CURRENT_BINARY_DIR}/drawn/tarvelo.ico -DOUTFILE=${package_installer}
            ${CMAKE_CURRENT_SOURCE_DIR}/installer.nsi
    DEPENDS ${package_dir}/staged ${CMAKE_CURRENT_SOURCE_DIR}/installer.nsi
            ${CMAKE_CURRENT_BINARY_DIR}/drawn/tarvelo.ico
    COMMENT "Making tarvelo-${PROJECT_VERSION}-setup.exe"
    VERBATIM)

add_custom_target(tarvelo_packages ALL DEPENDS ${package_zip} ${package_installer})

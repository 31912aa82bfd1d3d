# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks that exactly the program,
# the simulator, their manual pages, the package documents, the menu entry, the
# AppStream metadata and the icon sizes land where desktops look, and that the
# menu entry and the metadata validate. Then builds the Debian package from the
# same build and fails on any error or warning of Debian's package checker.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<scratch> -P check-install.cmake
cmake_minimum_required(VERSION 3.21)
set(id org.velno.Velno)

# run_check(<streams> <fail regex> <command>...): runs a checker; fails on a
# non-zero exit or when the regex matches its stderr, or (streams "out+err")
# its stdout and stderr.
function(run_check streams fail_regex)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(checked "${err}")
    if(streams STREQUAL "out+err")
        string(PREPEND checked "${out}\n")
    endif()
    string(REGEX MATCHALL "${fail_regex}" complaints "${checked}")
    if(NOT result EQUAL 0 OR complaints)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "${command} failed (${result}):\n${out}${err}")
    endif()
endfunction()

foreach(tool dpkg-deb lintian desktop-file-validate appstreamcli man)
    find_program(found_${tool} ${tool})
    if(NOT found_${tool})
        message(FATAL_ERROR "${tool} is missing; ./scripts/install-deps.sh dpkg-dev lintian "
                            "desktop-file-utils appstream man-db installs the checkers")
    endif()
endforeach()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result})")
endif()

set(expected
    bin/velno
    bin/velno-batch
    bin/velno-panel-sim
    share/applications/${id}.desktop
    share/doc/velno/changelog.gz
    share/doc/velno/copyright
    share/icons/hicolor/128x128/apps/${id}.png
    share/icons/hicolor/256x256/apps/${id}.png
    share/icons/hicolor/48x48/apps/${id}.png
    share/icons/hicolor/64x64/apps/${id}.png
    share/icons/hicolor/scalable/apps/${id}.svg
    share/man/man1/velno-batch.1.gz
    share/man/man1/velno-panel-sim.1.gz
    share/man/man1/velno.1.gz
    share/metainfo/${id}.metainfo.xml)
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
    list(JOIN installed "\n  " got)
    message(FATAL_ERROR "Installed files differ from the expected layout; installed:\n  ${got}")
endif()

file(STRINGS "${PREFIX}/share/applications/${id}.desktop" entry)
foreach(line "Name=Velno 6100 Management System" "Exec=velno" "Icon=${id}" "Terminal=false"
             "Type=Application")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "${id}.desktop lacks the line: ${line}")
    endif()
endforeach()
run_check(out+err "[^\n]+" desktop-file-validate "${PREFIX}/share/applications/${id}.desktop")
run_check(out+err "(^|\n)[EW]: [^\n]*" appstreamcli validate --no-net "${PREFIX}/share/metainfo/${id}.metainfo.xml")
foreach(page velno velno-panel-sim velno-batch)
    run_check(err "[^\n]+" ${CMAKE_COMMAND} -E env MANWIDTH=80 LC_ALL=C.UTF-8
              man --warnings -l "${PREFIX}/share/man/man1/${page}.1.gz")
endforeach()
message(STATUS "Installed layout as expected")

# The package as the README builds it: cpack in the build folder.
set(packages "${PREFIX}-package")
file(REMOVE_RECURSE "${packages}")
run_check(out+err "CPack Error[^\n]*" cpack -G DEB -B "${packages}" WORKING_DIRECTORY "${BUILD_DIR}")
file(GLOB deb "${packages}/*.deb")
run_check(out+err "(^|\n)[EW]: [^\n]*" lintian --tag-display-limit 0 "${deb}")
message(STATUS "${deb} passes lintian")
# Qt loads the SQL drivers as plugins, which the library scan cannot see.
execute_process(COMMAND dpkg-deb -f "${deb}" Depends OUTPUT_VARIABLE depends)
foreach(driver libqt6sql6-sqlite libqt6sql6-psql)
    if(NOT depends MATCHES "(^|, )${driver}(,| |\n|$)")
        message(FATAL_ERROR "The package does not depend on ${driver}: ${depends}")
    endif()
endforeach()

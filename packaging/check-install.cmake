# Installs the build into a scratch prefix and checks that exactly the program,
# the simulator, the menu entry and the icon sizes land where desktops look,
# and that the menu entry starts the program with its icon.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<scratch> -P check-install.cmake
cmake_minimum_required(VERSION 3.21)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result})")
endif()

set(expected
    bin/velno
    bin/velno-panel-sim
    share/applications/velno.desktop
    share/icons/hicolor/128x128/apps/velno.png
    share/icons/hicolor/256x256/apps/velno.png
    share/icons/hicolor/48x48/apps/velno.png
    share/icons/hicolor/64x64/apps/velno.png
    share/icons/hicolor/scalable/apps/velno.svg)
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
    list(JOIN installed "\n  " got)
    message(FATAL_ERROR "Installed files differ from the expected layout; installed:\n  ${got}")
endif()

file(STRINGS "${PREFIX}/share/applications/velno.desktop" entry)
foreach(line "Name=Velno 6100 Management System" "Exec=velno" "Icon=velno" "Terminal=false"
             "Type=Application")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "velno.desktop lacks the line: ${line}")
    endif()
endforeach()
message(STATUS "Installed layout as expected")

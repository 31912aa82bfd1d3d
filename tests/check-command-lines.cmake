# SPDX-License-Identifier: GPL-3.0-or-later
# Runs both programs with the options that answer without starting them, with
# no display at all, and checks the exit status and what goes to each stream.
#   cmake -DVELNO=<velno> -DPANEL_SIM=<velno-panel-sim> -DVERSION=<x.y> -P check-command-lines.cmake
cmake_minimum_required(VERSION 3.21)
string(REPLACE "." "\\." version "${VERSION}")

# check(<program> <exit status> <stdout regex> <stderr regex> <arguments>...)
# with the variables of check_env (NAME=VALUE...) set for the program.
function(check program status out_regex err_regex)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                --unset=QT_QPA_PLATFORM ${check_env} "${program}" ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
    get_filename_component(name "${program}" NAME)
    if(NOT result STREQUAL status OR NOT out MATCHES "${out_regex}" OR NOT err MATCHES "${err_regex}")
        message(SEND_ERROR "${name} ${ARGN}: exit ${result} (expected ${status})\n"
                           "stdout:\n${out}\nstderr:\n${err}")
    endif()
endfunction()

foreach(program "${VELNO}" "${PANEL_SIM}")
    get_filename_component(name "${program}" NAME)
    check("${program}" 0 "^${name} ${version}\n$" "^$" --version)
    check("${program}" 0 "^${name} ${version}\n$" "^$" -v)
    check("${program}" 0 "^Usage: (.*/)?${name} \\[options\\]\n.*--version" "^$" --help)
    check("${program}" 0 "^Usage: (.*/)?${name} " "^$" -h)
    check("${program}" 2 "^$" "^${name}: Unknown option '(--)?frobnicate'\\.\nUsage: (.*/)?${name} " --frobnicate)
    check("${program}" 2 "^$" "^${name}: unexpected argument extra\nUsage: (.*/)?${name} " extra)
endforeach()
# Qt's own options are the window system's, not unknown ones; the version still answers.
check("${VELNO}" 0 "^velno ${version}\n$" "^$" -platform offscreen --style=fusion -reverse --version)
check("${VELNO}" 2 "^$" "Missing value after '-style'" --version -style)
# The journal printed without a display: a date not as YYYY-MM-DD, or its
# options without --journal, are refused.
check("${VELNO}" 2 "^$" "^velno: '2026-13-01' is not a date as YYYY-MM-DD\\.\n" --journal --since 2026-13-01)
check("${VELNO}" 2 "^$" "^velno: --site, --operator, --since, --until, --csv and --local go with --journal\\.\n" --csv)
check("${VELNO}" 2 "^$" "Missing value after '--site'" --journal --site)
# The team database set up without a display: a password in the URI is
# refused before any connection, a server that does not answer is named.
check("${VELNO}" 2 "^$" "^velno: The URI holds a password.*~/\\.pgpass" --team-setup "postgresql://owner:secret@db/velno")
check("${VELNO}" 2 "^$" "Missing value after '--team-setup'" --team-setup)
check("${VELNO}" 3 "^$" "^velno: The team database velno on 127\\.0\\.0\\.1:1 cannot be reached: [^\n]*\n$"
      --team-setup "postgresql://owner@127.0.0.1:1/velno")
# In a team whose server does not answer, --journal prints this computer's
# journal (none yet here) with a one-line warning, and exits with 3;
# --local prints it without one.
string(RANDOM LENGTH 8 tag)
set(home "${CMAKE_CURRENT_BINARY_DIR}/command-lines-${tag}")
file(WRITE "${home}/config/Velno/Velno 6100 Management System.ini"
     "[Team]\ndatabase=postgresql://tech@127.0.0.1:1/velno\n")
set(check_env "XDG_CONFIG_HOME=${home}/config" "XDG_DATA_HOME=${home}/data")
check("${VELNO}" 3 "^time,operator,host,site,kind,text\r?\n$"
      "^velno: The team database velno on 127\\.0\\.0\\.1:1 cannot be reached: [^\n]* This computer's journal follows\\.\n$"
      --journal --csv)
check("${VELNO}" 0 "^$" "^$" --journal --local)
file(REMOVE_RECURSE "${home}")

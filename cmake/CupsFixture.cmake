# Private CUPS schedulers for the printing tests, as CTest fixtures: each
# starts before the tests that need it and stops after them. The socket
# lives under /tmp, where its path stays short enough for a Unix socket.
#
#   tavelin_cups_fixture(<kind> [NO_PRINTER])
#
# defines the fixture cups_<kind> and sets, in the caller's scope,
# TAVELIN_CUPS_ENV_<kind>: the environment that points a test at it
# (CUPS_SERVER, TAVELIN_PDF_DIR for the PDFs of its cups-pdf printer, HOME,
# TAVELIN_CUPS_DIR, TAVELIN_CUPS_SCRIPT) and the offscreen Qt platform.
# Unless NO_PRINTER is given, the scheduler has the cups-pdf printer
# TavelinPDF as its default destination and TavelinRefuses, which rejects
# jobs.

string(MD5 _tavelin_build_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${_tavelin_build_hash}" 0 10 _tavelin_build_hash)
set(TAVELIN_CUPS_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/../scripts/cups-test-server)
# A destination named in PRINTER or LPDEST would stand before the scheduler's default.
set(TAVELIN_NO_USER_DESTINATION "PRINTER=unset:;LPDEST=unset:")

function(tavelin_cups_fixture kind)
    cmake_parse_arguments(ARG "NO_PRINTER" "" "" ${ARGN})
    set(dir /tmp/tavelin-cups-${_tavelin_build_hash}-${kind})
    set(option "")
    if(ARG_NO_PRINTER)
        set(option --no-printer)
    endif()
    add_test(NAME cups.start_${kind} COMMAND ${TAVELIN_CUPS_SCRIPT} start ${dir} ${option})
    add_test(NAME cups.stop_${kind} COMMAND ${TAVELIN_CUPS_SCRIPT} stop ${dir})
    set_tests_properties(cups.start_${kind} PROPERTIES FIXTURES_SETUP cups_${kind})
    set_tests_properties(cups.stop_${kind} PROPERTIES FIXTURES_CLEANUP cups_${kind})
    set(TAVELIN_CUPS_ENV_${kind}
        "QT_QPA_PLATFORM=offscreen;CUPS_SERVER=${dir}/cups.sock;TAVELIN_PDF_DIR=${dir}/pdf;HOME=${dir}/home;TAVELIN_CUPS_DIR=${dir};TAVELIN_CUPS_SCRIPT=${TAVELIN_CUPS_SCRIPT}"
        PARENT_SCOPE)
endfunction()

# Runs test <test> against the scheduler of fixture cups_<kind>.
function(tavelin_use_cups test kind)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED cups_${kind}
        ENVIRONMENT "${TAVELIN_CUPS_ENV_${kind}}" ENVIRONMENT_MODIFICATION "${TAVELIN_NO_USER_DESTINATION}")
endfunction()

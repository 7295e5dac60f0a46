# What each program says of itself, on every host, written here once. The
# build makes ProgramIdentity.h of it (the programs and their Windows
# version information) and the desktop entries; scripts/dist-windows.sh
# reads it too, running this file as a script.
set(MARLO_VERSION_TEXT "1.00")
# With its trailing blank, as the program has always said it; a desktop
# entry or a line of text goes without it.
set(MARLO_RESET_DESCRIPTION "MARLO-Corvane Database Reset Engine ")
set(MARLO_TRANSFER_DESCRIPTION "MARLO-Corvane Database Import/Export Module")

# The version as numbers: "1.00" is 1.0 to CMake and 1,0,0,0 to Windows.
if(NOT MARLO_VERSION_TEXT MATCHES "^([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "MARLO_VERSION_TEXT is no <major>.<minor>: ${MARLO_VERSION_TEXT}")
endif()
math(EXPR MARLO_VERSION_MAJOR "${CMAKE_MATCH_1}")
math(EXPR MARLO_VERSION_MINOR "${CMAKE_MATCH_2}")

# cmake -P cmake/ProgramIdentity.cmake: the version and the two
# descriptions, one a line, for a shell script.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    foreach(value "${MARLO_VERSION_TEXT}" "${MARLO_RESET_DESCRIPTION}"
                  "${MARLO_TRANSFER_DESCRIPTION}")
        execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${value}")
    endforeach()
endif()

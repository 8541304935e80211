# Compares the base-library symbols that the plug-in imports with the reviewed list: a new
# dependency on the base library has to be added to the list on purpose.
#   cmake -DPLUGIN=... -DVE_BASE=... -DLIST=... -DACTUAL=... -DSANITIZE=... -DPLATFORM=...
#         -DNM=... -DOBJDUMP=... -P check_vebase_imports.cmake
# PLATFORM is the target's CMAKE_SYSTEM_NAME.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/library_symbols.cmake)
library_symbols(${PLUGIN} imported imported DEMANGLE)
library_symbols(${VE_BASE} defined defined DEMANGLE)
if(imported STREQUAL "SKIP" OR defined STREQUAL "SKIP")
    message(STATUS "Skipped: no tool here reads the dynamic symbols of ${PLUGIN}")
    return()
endif()
# Qt 6's QStringList is QList<QString> and demangles so; one list serves both.
list(TRANSFORM imported REPLACE "QList<QString>" "QStringList")
list(TRANSFORM defined REPLACE "QList<QString>" "QStringList")
set(used "")
foreach(name IN LISTS imported)
    if(name MATCHES "VEK_SC_Space::" AND name IN_LIST defined)
        list(APPEND used "${name}")
    endif()
endforeach()
list(REMOVE_DUPLICATES used)
list(SORT used)
list(JOIN used "\n" actual)
file(WRITE ${ACTUAL} "${actual}\n")

# Lines marked "sanitized: " are imported only by sanitizer builds, lines marked "unix: " only
# where the target is not Windows.
file(STRINGS ${LIST} lines REGEX "^[^#]")
set(reviewed "")
foreach(line IN LISTS lines)
    if(line MATCHES "^sanitized: (.*)$")
        if(SANITIZE)
            list(APPEND reviewed "${CMAKE_MATCH_1}")
        endif()
    elseif(line MATCHES "^unix: (.*)$")
        if(NOT PLATFORM STREQUAL "Windows")
            list(APPEND reviewed "${CMAKE_MATCH_1}")
        endif()
    else()
        list(APPEND reviewed "${line}")
    endif()
endforeach()
list(SORT reviewed)
set(added ${used})
list(REMOVE_ITEM added ${reviewed})
set(gone ${reviewed})
list(REMOVE_ITEM gone ${used})
if(added OR gone)
    list(JOIN added "\n  " added)
    list(JOIN gone "\n  " gone)
    message(FATAL_ERROR "The plug-in's imports from the base library differ from ${LIST}\n"
        "imported, not in the list:\n  ${added}\nin the list, no longer imported:\n  ${gone}\n"
        "All imports: ${ACTUAL}")
endif()
list(LENGTH used count)
message(STATUS "${count} base-library symbols imported, all in the reviewed list")

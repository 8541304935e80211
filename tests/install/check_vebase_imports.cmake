# Compares the base-library symbols that the plug-in imports with the reviewed list: a new
# dependency on the base library has to be added to the list on purpose.
#   cmake -DPLUGIN=... -DVE_BASE=... -DLIST=... -DACTUAL=... -DSANITIZE=... -P check_vebase_imports.cmake
function(dynamic_symbols library which out)
    execute_process(COMMAND nm -D -C ${which} ${library} RESULT_VARIABLE result
                    OUTPUT_VARIABLE text ERROR_VARIABLE error)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "nm ${which} ${library}: ${error}")
    endif()
    # "<address> T name" or "U name": the name starts after the type letter.
    string(REGEX REPLACE "(^|\n)[0-9a-f ]* [A-Za-z] " "\\1" text "${text}")
    # Qt 6's QStringList is QList<QString> and demangles so; one list serves both.
    string(REPLACE "QList<QString>" "QStringList" text "${text}")
    string(REPLACE ";" "\\;" text "${text}")
    string(REPLACE "\n" ";" names "${text}")
    set(${out} ${names} PARENT_SCOPE)
endfunction()

cmake_minimum_required(VERSION 3.25)
dynamic_symbols(${PLUGIN} --undefined-only imported)
dynamic_symbols(${VE_BASE} --defined-only defined)
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

# Lines marked "sanitized: " are imported only by sanitizer builds.
file(STRINGS ${LIST} lines REGEX "^[^#]")
set(reviewed "")
foreach(line IN LISTS lines)
    if(line MATCHES "^sanitized: (.*)$")
        if(SANITIZE)
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

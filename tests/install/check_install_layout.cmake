# Installs the whole project into a fresh prefix and runs the installed client's headless demo:
# the plug-in beside the client, the base library through the rpath, the translation inside
# the plug-in.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DCLIENT=... -DPLUGIN=... -DVE_BASE=... [-DEMULATOR=...]
#         -P check_install_layout.cmake
# CLIENT, PLUGIN and VE_BASE: the installed files, relative to the prefix.
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()
foreach(file ${CLIENT} ${PLUGIN} ${VE_BASE} lib/cmake/VE_Base/VE_BaseConfig.cmake include/VE_Base/UserData.h)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "The install lacks ${file}")
    endif()
endforeach()

cmake_minimum_required(VERSION 3.20)
# Nothing may reach back into the build tree.
unset(ENV{LD_LIBRARY_PATH})
set(demo ${WORK_DIR}/demo)
execute_process(COMMAND ${EMULATOR} ${prefix}/${CLIENT} --demo ${demo} --records 30 --language en
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "The installed client's demo failed (${result}):\n${output}")
endif()
foreach(file stock-orders.csv credit-debts.csv credit-profit.png)
    if(NOT EXISTS ${demo}/${file})
        message(FATAL_ERROR "The installed client's demo wrote no ${file}:\n${output}")
    endif()
endforeach()
# English headers prove the translation embedded in the installed plug-in was found.
file(STRINGS ${demo}/stock-orders.csv header LIMIT_COUNT 1)
if(NOT header MATCHES "^[ -~]+,$")
    message(FATAL_ERROR "The installed client's English demo wrote the header ${header}")
endif()
message(STATUS "${output}")

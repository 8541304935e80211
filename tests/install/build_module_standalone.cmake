# Installs the base-library stand-in alone into a fresh prefix and builds SubModule/ as a
# project of its own against it, as the client's developers build the module against theirs.
#   cmake -DBUILD_DIR=... -DMODULE_SOURCE_DIR=... -DREPO_VE_BASE_DIR=... -DWORK_DIR=...
#         -DGENERATOR=... -DCXX=... -DBUILD_TYPE=... -DSANITIZE=... -DCXX_FLAGS=...
#         -DQT_MAJOR_VERSION=... -DCXX_FLAGS_DEBUG=... -DTOOLCHAIN_FILE=... -DPLUGIN_NAME=...
#         -DVE_BASE_LINKER_FILE=... -DNM=... -DOBJDUMP=... -P build_module_standalone.cmake
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "${command} failed (${result}):\n${output}")
    endif()
endfunction()

cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/library_symbols.cmake)
set(prefix ${WORK_DIR}/prefix)
set(module_build ${WORK_DIR}/build)
file(REMOVE_RECURSE ${WORK_DIR})

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --component VE_Base --prefix ${prefix})
foreach(file include/VE_Base/UserData.h include/VE_Base/api/ZRVDHistoryFields.h lib/${VE_BASE_LINKER_FILE}
        lib/cmake/VE_Base/VE_BaseConfig.cmake)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "The stand-in's install lacks ${file}")
    endif()
endforeach()

# Only the installed package can be found: no registry, no other prefix.
run(${CMAKE_COMMAND} -S ${MODULE_SOURCE_DIR} -B ${module_build} -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DSANITIZE=${SANITIZE} -DQT_MAJOR_VERSION=${QT_MAJOR_VERSION}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_CXX_FLAGS_DEBUG=${CXX_FLAGS_DEBUG}"
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE}"
    # In batches: each module source alone is compiled by the build this test runs in.
    -DCMAKE_UNITY_BUILD=ON)
run(${CMAKE_COMMAND} --build ${module_build} -j2)

file(READ ${module_build}/compile_commands.json commands)
string(FIND "${commands}" "${REPO_VE_BASE_DIR}" at)
if(NOT at EQUAL -1)
    message(FATAL_ERROR "The module on its own still compiles against ${REPO_VE_BASE_DIR}")
endif()
set(plugin ${module_build}/bin/${PLUGIN_NAME})
library_symbols(${plugin} defined symbols)
if(symbols STREQUAL "SKIP")
    message(STATUS "No tool here reads the exports of ${plugin}: its one export is not checked")
elseif(NOT symbols STREQUAL "CreateISubModuleWid_HistoryRecordWid")
    message(FATAL_ERROR "The plug-in built on its own exports more or less than its factory:\n${symbols}")
endif()
message(STATUS "Built ${plugin} against ${prefix}")

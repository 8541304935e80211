# The module as the client's developers take it: built on its own against an installed base
# library, importing from it only what the reviewed list allows; and the installed project.

# SubModule/ alone against the stand-in installed into a fresh prefix, with this build's compiler
# and flags (a sanitized plug-in needs a sanitized host), then loaded through its factory.
set(standalone_dir ${CMAKE_CURRENT_BINARY_DIR}/module-standalone)
add_test(NAME module_standalone_build COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${CMAKE_BINARY_DIR} -DMODULE_SOURCE_DIR=${PROJECT_SOURCE_DIR}/SubModule
    -DREPO_VE_BASE_DIR=${PROJECT_SOURCE_DIR}/VE_Base -DWORK_DIR=${standalone_dir}
    -DGENERATOR=${CMAKE_GENERATOR} -DCXX=${CMAKE_CXX_COMPILER} -DBUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DSANITIZE=${SANITIZE} -DQT_MAJOR_VERSION=${QT_MAJOR_VERSION} "-DCXX_FLAGS=${CMAKE_CXX_FLAGS}" "-DCXX_FLAGS_DEBUG=${CMAKE_CXX_FLAGS_DEBUG}"
    "-DTOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}" -DPLUGIN_NAME=$<TARGET_FILE_NAME:SubModule_HistoryRecord>
    -DVE_BASE_LINKER_FILE=$<TARGET_LINKER_FILE_NAME:VE_Base> -DNM=${CMAKE_NM} -DOBJDUMP=${CMAKE_OBJDUMP}
    -P ${CMAKE_CURRENT_SOURCE_DIR}/install/build_module_standalone.cmake)
set_tests_properties(module_standalone_build PROPERTIES FIXTURES_SETUP module_standalone TIMEOUT 900)

add_qt_test(tst_module_standalone SOURCES tst_module_standalone.cpp LIBS SubModuleCommon VE_Base)
target_compile_definitions(tst_module_standalone PRIVATE
    STANDALONE_PLUGIN_FILE="${standalone_dir}/build/bin/$<TARGET_FILE_NAME:SubModule_HistoryRecord>")
set_tests_properties(tst_module_standalone PROPERTIES FIXTURES_REQUIRED module_standalone)

# The base-library symbols the plug-in imports, against the reviewed list.
add_test(NAME module_vebase_imports COMMAND ${CMAKE_COMMAND}
    -DPLUGIN=$<TARGET_FILE:SubModule_HistoryRecord> -DVE_BASE=$<TARGET_FILE:VE_Base>
    -DLIST=${PROJECT_SOURCE_DIR}/SubModule/VE_Base_imports.txt
    -DACTUAL=${CMAKE_CURRENT_BINARY_DIR}/VE_Base_imports.actual.txt -DSANITIZE=${SANITIZE}
    -DPLATFORM=${CMAKE_SYSTEM_NAME}
    -DNM=${CMAKE_NM} -DOBJDUMP=${CMAKE_OBJDUMP} -P ${CMAKE_CURRENT_SOURCE_DIR}/install/check_vebase_imports.cmake)
set_tests_properties(module_vebase_imports PROPERTIES SKIP_REGULAR_EXPRESSION "Skipped: ")

# The whole project installed into a fresh prefix runs its headless demo from there.
add_test(NAME install_layout COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${CMAKE_BINARY_DIR} -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/install-layout
    -DCLIENT=${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:history-client>
    -DPLUGIN=${HISTORYRECORD_INSTALL_DIR}/$<TARGET_FILE_NAME:SubModule_HistoryRecord>
    -DVE_BASE=$<IF:$<PLATFORM_ID:Windows>,${CMAKE_INSTALL_BINDIR},${CMAKE_INSTALL_LIBDIR}>/$<TARGET_FILE_NAME:VE_Base>
    "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
    -P ${CMAKE_CURRENT_SOURCE_DIR}/install/check_install_layout.cmake)
get_test_property(tst_module_standalone ENVIRONMENT qt_test_environment)
get_test_property(tst_module_standalone ENVIRONMENT_MODIFICATION qt_test_environment_changes)
set_tests_properties(install_layout PROPERTIES ENVIRONMENT "${qt_test_environment}"
    ENVIRONMENT_MODIFICATION "${qt_test_environment_changes}" TIMEOUT 300)

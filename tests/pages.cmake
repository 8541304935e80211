# The eight pages and the factory through the plug-in, loaded and resolved by name as the client
# does; the CSV export through the Export button; every page of both accounts over the simulated
# service. The frame is linked only for its declarations and type information (which the
# sanitizer build's checks read); the pages and their code come from the plug-in.
foreach(name tst_pages tst_endtoend)
    add_qt_test(${name} SOURCES ${name}.cpp PageTestSupport.h LIBS HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)
    target_compile_definitions(${name} PRIVATE HISTORY_PLUGIN_FILE="$<TARGET_FILE:SubModule_HistoryRecord>")
    add_dependencies(${name} SubModule_HistoryRecord)
endforeach()

add_qt_test(tst_export SOURCES tst_export.cpp PageTestSupport.h
    LIBS HistoryRecordPages HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)
# Under Wine the Unix locale decides Windows' ANSI code page, which the export writes in: a
# Chinese one (936, GBK) as on the client's users' machines, not Wine's Western default, which
# has no Chinese. scripts/test-windows provides that locale.
if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
    get_test_property(tst_export ENVIRONMENT export_environment)
    list(TRANSFORM export_environment REPLACE "^LC_ALL=.*" "LC_ALL=zh_CN.UTF-8")
    set_tests_properties(tst_export PROPERTIES ENVIRONMENT "${export_environment}")
endif()

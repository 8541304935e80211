# English pages: titles that fit their columns, code cells from the base library's translation.
if(TARGET SubModule_HistoryRecord)
    add_qt_test(tst_english SOURCES tst_english.cpp LIBS HistoryRecordTableHeaders SubModuleCommon VE_Base)
    target_include_directories(tst_english PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
    target_compile_definitions(tst_english PRIVATE PLUGIN_PATH="$<TARGET_FILE:SubModule_HistoryRecord>")
    add_dependencies(tst_english SubModule_HistoryRecord)
endif()

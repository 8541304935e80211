# The English translation embedded in the plug-in, checked against the texts the module marks.
if(TARGET SubModule_HistoryRecord AND HISTORYRECORD_TS_FILES)
    add_qt_test(tst_translation SOURCES tst_translation.cpp LIBS SubModuleCommon VE_Base)
    list(GET HISTORYRECORD_TS_FILES 0 translation_ts)
    target_compile_definitions(tst_translation PRIVATE
        PLUGIN_PATH="$<TARGET_FILE:SubModule_HistoryRecord>"
        MODULE_DIR="${PROJECT_SOURCE_DIR}/SubModule/HistoryRecord"
        TS_FILE="${translation_ts}")
    add_dependencies(tst_translation SubModule_HistoryRecord)
endif()

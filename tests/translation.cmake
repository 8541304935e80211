# The English translation embedded in the plug-in, checked against the module's own texts.
if(TARGET SubModule_HistoryRecord AND HISTORYRECORD_QM_FILES)
    add_qt_test(tst_translation SOURCES tst_translation.cpp
        LIBS HistoryRecordTableHeaders SubModuleCommon VE_Base)
    list(GET HISTORYRECORD_TS_FILES 0 translation_ts)
    list(GET HISTORYRECORD_QM_FILES 0 translation_qm)
    target_compile_definitions(tst_translation PRIVATE
        PLUGIN_PATH="$<TARGET_FILE:SubModule_HistoryRecord>"
        TS_FILE="${translation_ts}"
        QM_FILE="${translation_qm}")
    add_dependencies(tst_translation SubModule_HistoryRecord)
endif()

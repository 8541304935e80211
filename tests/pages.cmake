# The eight pages, the factory and the CSV export.

# Through the plug-in, loaded and resolved by name as the client does. The frame is linked only
# for its declarations and type information (which the sanitizer build's checks read); the pages
# and their code come from the plug-in.
add_qt_test(tst_factory SOURCES tst_factory.cpp PageTestSupport.h LIBS HistoryRecordFrame SubModuleCommon VE_Base)
target_compile_definitions(tst_factory PRIVATE HISTORY_PLUGIN_FILE="$<TARGET_FILE:SubModule_HistoryRecord>")
add_dependencies(tst_factory SubModule_HistoryRecord)

# The page classes built in, with the deletions of the records they free watched.
add_qt_test(tst_pages SOURCES tst_pages.cpp PageTestSupport.h DeletionWatch.h DeletionWatch.cpp
    LIBS HistoryRecordPages HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)

# CSV export through the Export button, with the boxes and the save dialog answered.
add_qt_test(tst_export SOURCES tst_export.cpp PageTestSupport.h
    LIBS HistoryRecordPages HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)

# Every page of both accounts over the simulated service, through the plug-in: query, load all,
# sort and export.
add_qt_test(tst_endtoend SOURCES tst_endtoend.cpp PageTestSupport.h LIBS HistoryRecordFrame SubModuleCommon VE_Base)
target_compile_definitions(tst_endtoend PRIVATE HISTORY_PLUGIN_FILE="$<TARGET_FILE:SubModule_HistoryRecord>")
add_dependencies(tst_endtoend SubModule_HistoryRecord)

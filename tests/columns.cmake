# The fifteen column sets: generated records against approval files, and the shared conversions.
add_qt_test(tst_columns SOURCES tst_columns.cpp LIBS HistoryRecordTableHeaders SubModuleCommon VE_Base)
target_include_directories(tst_columns PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)

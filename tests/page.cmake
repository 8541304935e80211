# The history page frame driven headless through a small page class of the test's own.
add_qt_test(tst_historyrecordwid
    SOURCES tst_historyrecordwid.cpp
    LIBS HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)
# The page's table: which changes it repaints for.
add_qt_test(tst_historytableview
    SOURCES tst_historytableview.cpp
    LIBS HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)

# The real pages under answers from other threads, stale and failing answers, shared accounts
# and a failing service; the records they free watched.
add_qt_test(tst_reliability_pages
    SOURCES tst_reliability_pages.cpp PageTestSupport.h DeletionWatch.h DeletionWatch.cpp
    LIBS HistoryRecordPages HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)

# The real pages under answers from other threads, stale and failing answers, pages deleted with
# answers pending, shared accounts and a failing service; the sanitizer build judges the freeing.
add_qt_test(tst_reliability_pages SOURCES tst_reliability_pages.cpp PageTestSupport.h
    LIBS HistoryRecordPages HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)

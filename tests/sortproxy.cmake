# The page's sorting proxy against QSortFilterProxyModel's own order.
add_qt_test(tst_reliability_sortproxy SOURCES tst_reliability_sortproxy.cpp
    LIBS HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)

# The order and trade column sets of both account kinds.
add_qt_test(tst_columns_ordertrade SOURCES tst_columns_ordertrade.cpp LIBS HistoryRecordTableHeaders)

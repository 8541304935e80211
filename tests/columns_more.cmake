# The delivery, margin-debt, capital, fund-flow, position and profit column sets.
add_qt_test(tst_columns_more SOURCES tst_columns_more.cpp LIBS HistoryRecordTableHeaders)

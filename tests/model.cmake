add_qt_test(tst_model SOURCES tst_model.cpp LIBS VE_Base)
add_qt_test(tst_tableheader SOURCES tst_tableheader.cpp LIBS VE_Base)

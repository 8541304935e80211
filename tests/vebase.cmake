add_qt_test(tst_userdata SOURCES tst_userdata.cpp LIBS VE_Base)
add_qt_test(tst_service SOURCES tst_service.cpp LIBS VE_Base)

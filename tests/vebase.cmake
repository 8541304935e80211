add_qt_test(tst_vebase SOURCES tst_vebase.cpp LIBS VE_Base)

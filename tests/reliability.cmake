# The reliability suite: the column-set fuzz corpus replayed under the sanitizers, and the pages
# under hostile services and threads.
set(fuzz_dir ${PROJECT_SOURCE_DIR}/fuzz)
add_qt_test(tst_reliability_corpus
    SOURCES tst_reliability_corpus.cpp ${fuzz_dir}/ColumnSetProbe.cpp ${fuzz_dir}/ColumnSetProbe.h
    LIBS HistoryRecordTableHeaders SubModuleCommon VE_Base)
target_include_directories(tst_reliability_corpus PRIVATE ${fuzz_dir})
target_compile_definitions(tst_reliability_corpus PRIVATE FUZZ_CORPUS_DIR="${fuzz_dir}/corpus")
# The page's sorting proxy against QSortFilterProxyModel's own order.
add_qt_test(tst_reliability_sortproxy
    SOURCES tst_reliability_sortproxy.cpp
    LIBS HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)
target_include_directories(tst_reliability_sortproxy PRIVATE ${fuzz_dir})
# The real pages under answers from other threads, stale and failing answers, shared accounts
# and a failing service; the records they free watched.
add_qt_test(tst_reliability_pages
    SOURCES tst_reliability_pages.cpp PageTestSupport.h DeletionWatch.h DeletionWatch.cpp
    LIBS HistoryRecordPages HistoryRecordFrame HistoryRecordTableHeaders SubModuleCommon VE_Base)

# The column-set fuzz corpus replayed under the sanitizers.
set(fuzz_dir ${PROJECT_SOURCE_DIR}/fuzz)
add_qt_test(tst_reliability_corpus
    SOURCES tst_reliability_corpus.cpp ${fuzz_dir}/ColumnSetProbe.cpp ${fuzz_dir}/ColumnSetProbe.h
    LIBS HistoryRecordTableHeaders SubModuleCommon VE_Base)
target_include_directories(tst_reliability_corpus PRIVATE ${fuzz_dir})
target_compile_definitions(tst_reliability_corpus PRIVATE FUZZ_CORPUS_DIR="${fuzz_dir}/corpus")

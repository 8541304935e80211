# The client as a user meets it: its window driving the module's pages in-process, and the
# executable's headless demo on a small data set and its refusals of an unusable module
# library or command line.
add_qt_test(tst_client SOURCES tst_client.cpp LIBS HistoryClientCore SubModuleCommon)
target_compile_definitions(tst_client PRIVATE
    CLIENT_EXECUTABLE="$<TARGET_FILE:history-client>"
    VE_BASE_FILE_NAME="$<TARGET_FILE_NAME:VE_Base>"
    SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_dependencies(tst_client history-client)

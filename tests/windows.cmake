# Every source of the module, with its moc, uic and rcc output, compiled for Windows by
# MinGW-w64 GCC and by clang targeting MinGW, against this build's Qt headers: a change that
# breaks the Windows build fails here, not on the client's developers' machines. Clang honours
# dllimport as MSVC does, so it also catches what is legal only for exported functions (their
# addresses are no constant expressions when imported). Syntax only; once, in the normal Qt 5
# build (scripts/bootstrap installs the compilers).
if(CMAKE_CROSSCOMPILING OR WIN32 OR SANITIZE OR NOT QT_MAJOR_VERSION EQUAL 5)
    return()
endif()
find_program(MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
find_program(WINDOWS_CLANG_CXX NAMES clang++ clang++-14)

set(check_dir ${CMAKE_CURRENT_BINARY_DIR}/windows-compile-check)
get_property(multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
set(config_suffix "")
if(multi_config)
    set(config_suffix "_$<CONFIG>")
endif()
set(check_list "")
set(qt_includes "$<TARGET_PROPERTY:Qt5::Widgets,INTERFACE_INCLUDE_DIRECTORIES>")
foreach(target SubModuleCommon HistoryRecordTableHeaders HistoryRecordFrame HistoryRecordPages SubModule_HistoryRecord)
    get_target_property(source_dir ${target} SOURCE_DIR)
    get_target_property(binary_dir ${target} BINARY_DIR)
    get_target_property(sources ${target} SOURCES)
    # The target's include folders (the one of uic's and moc's output among them) and
    # definitions, with those of everything it links.
    set(autogen ${binary_dir}/${target}_autogen)
    set(includes "$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>")
    set(definitions "$<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>")
    # Qt's folders also as system ones, which drops their -I: Qt's warnings are not ours.
    file(GENERATE OUTPUT ${check_dir}/${target}$<$<BOOL:${multi_config}>:_$<CONFIG>>.rsp CONTENT
        "\"-isystem$<JOIN:${qt_includes},\"\n\"-isystem>\"
\"-I$<JOIN:${includes},\"\n\"-I>\"
\"-D$<JOIN:${definitions},\"\n\"-D>\"
")
    set(target_sources "")
    foreach(source IN LISTS sources)
        if(source MATCHES "\\.cpp$")
            get_filename_component(source ${source} ABSOLUTE BASE_DIR ${source_dir})
            list(APPEND target_sources ${source})
        endif()
    endforeach()
    # moc's output of the target's headers (the .moc of a source is included by the source).
    get_target_property(automoc ${target} AUTOMOC)
    if(automoc)
        list(APPEND target_sources ${autogen}/mocs_compilation${config_suffix}.cpp)
    endif()
    foreach(source IN LISTS target_sources)
        string(APPEND check_list "${target}$<$<BOOL:${multi_config}>:_$<CONFIG>>.rsp\t${source}\n")
    endforeach()
endforeach()
file(GENERATE OUTPUT ${check_dir}/sources$<$<BOOL:${multi_config}>:_$<CONFIG>>.txt CONTENT "${check_list}")

add_test(NAME windows_compile_check COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/compile_check.sh
    ${check_dir} sources$<$<BOOL:${multi_config}>:_$<CONFIG>>.txt "${MINGW_CXX}" "${WINDOWS_CLANG_CXX}")
set_tests_properties(windows_compile_check PROPERTIES TIMEOUT 600)

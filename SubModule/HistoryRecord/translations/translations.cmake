# The module's translations: the .ts files here are compiled to .qm and embedded in the plug-in
# under ":/i18n/". The build never writes the .ts files; `update_ts` refreshes them from the
# sources (not part of ALL, run it after changing a user-visible text).
set(historyrecord_ts_files ${CMAKE_CURRENT_LIST_DIR}/SubModule_HistoryRecord_en.ts)

qt_add_translation(historyrecord_qm_files ${historyrecord_ts_files})

# rcc resolves the files of a .qrc relative to it, so the .qrc goes next to the .qm files.
set(historyrecord_qrc_entries "")
foreach(qm ${historyrecord_qm_files})
    get_filename_component(qm_name ${qm} NAME)
    string(APPEND historyrecord_qrc_entries "        <file>${qm_name}</file>\n")
endforeach()
set(historyrecord_qrc ${CMAKE_CURRENT_BINARY_DIR}/SubModule_HistoryRecord_i18n.qrc)
file(WRITE ${historyrecord_qrc}.in
    "<RCC>\n    <qresource prefix=\"/i18n\">\n${historyrecord_qrc_entries}    </qresource>\n</RCC>\n")
configure_file(${historyrecord_qrc}.in ${historyrecord_qrc} COPYONLY)

# Compiled straight into the shared library, so the resources register when it is loaded.
qt_add_resources(historyrecord_qrc_sources ${historyrecord_qrc})
set_source_files_properties(${historyrecord_qrc_sources} PROPERTIES SKIP_AUTOGEN ON)
target_sources(SubModule_HistoryRecord PRIVATE ${historyrecord_qm_files} ${historyrecord_qrc_sources})

set(HISTORYRECORD_TS_FILES ${historyrecord_ts_files} CACHE INTERNAL "The module's .ts files")
set(HISTORYRECORD_QM_FILES ${historyrecord_qm_files} CACHE INTERNAL "The module's compiled .qm files")

add_custom_target(update_ts
    COMMAND Qt${QT_MAJOR_VERSION}::lupdate ${CMAKE_CURRENT_SOURCE_DIR} -ts ${historyrecord_ts_files}
            -no-obsolete -locations none
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    COMMENT "Refreshing the module's .ts files from the sources"
    VERBATIM)
if(TARGET update_ts_vebase)
    add_dependencies(update_ts update_ts_vebase)
endif()

# The base library's English translation (the texts of the Util decoders), compiled and embedded
# in VE_Base under ":/i18n/", next to the module's. A host installs it like the module's.
set(vebase_ts_files ${CMAKE_CURRENT_LIST_DIR}/VE_Base_en.ts)

qt_add_translation(vebase_qm_files ${vebase_ts_files})

# rcc resolves the files of a .qrc relative to it, so the .qrc goes next to the .qm files.
set(vebase_qrc_entries "")
foreach(qm ${vebase_qm_files})
    get_filename_component(qm_name ${qm} NAME)
    string(APPEND vebase_qrc_entries "        <file>${qm_name}</file>\n")
endforeach()
set(vebase_qrc ${CMAKE_CURRENT_BINARY_DIR}/VE_Base_i18n.qrc)
file(WRITE ${vebase_qrc}.in
    "<RCC>\n    <qresource prefix=\"/i18n\">\n${vebase_qrc_entries}    </qresource>\n</RCC>\n")
configure_file(${vebase_qrc}.in ${vebase_qrc} COPYONLY)

qt_add_resources(vebase_qrc_sources ${vebase_qrc})
set_source_files_properties(${vebase_qrc_sources} PROPERTIES SKIP_AUTOGEN ON)
target_sources(VE_Base PRIVATE ${vebase_qm_files} ${vebase_qrc_sources})

set(VEBASE_TS_FILES ${vebase_ts_files} CACHE INTERNAL "The base library's .ts files")

# Part of `update_ts` (the module's translations.cmake adds it).
add_custom_target(update_ts_vebase
    COMMAND Qt${QT_MAJOR_VERSION}::lupdate ${CMAKE_CURRENT_SOURCE_DIR} -ts ${vebase_ts_files}
            -no-obsolete -locations none
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    COMMENT "Refreshing the base library's .ts files from the sources"
    VERBATIM)

# Which Qt the build takes, from QT_MAJOR_VERSION; everything after it uses the versionless
# Qt:: targets and qt_ commands, which both versions provide.
if(NOT QT_MAJOR_VERSION MATCHES "^[56]$")
    message(FATAL_ERROR "QT_MAJOR_VERSION is ${QT_MAJOR_VERSION}; use 5 or 6")
endif()
set(HISTORY_QT_COMPONENTS Widgets LinguistTools)
if(QT_MAJOR_VERSION EQUAL 5)
    set(HISTORY_QT_MINIMUM 5.15)
else()
    set(HISTORY_QT_MINIMUM 6.4)
    # The export writes in the locale's code page through QTextCodec, which Qt 6 keeps here.
    list(APPEND HISTORY_QT_COMPONENTS Core5Compat)
endif()

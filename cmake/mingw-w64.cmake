# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (the POSIX-thread compilers), against
# a Qt built for it, and runs the built programs under Wine (CTest and the test scripts).
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DHISTORY_QT_MINGW=<Qt prefix>
# scripts/test-windows builds that Qt and uses this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# try_compile projects read this file again: the Qt prefix goes along.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HISTORY_QT_MINGW)
if(NOT HISTORY_QT_MINGW AND DEFINED ENV{HISTORY_QT_MINGW})
    set(HISTORY_QT_MINGW $ENV{HISTORY_QT_MINGW})
endif()
if(NOT HISTORY_QT_MINGW)
    message(FATAL_ERROR "Set HISTORY_QT_MINGW to the prefix of a Qt built for MinGW-w64 (scripts/test-windows builds one)")
endif()

# Libraries and headers only from MinGW and that Qt, never the host's; packages also from other
# prefixes given (the standalone module build's installed base library). Qt's host tools (moc,
# uic, rcc) run here, so programs come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${HISTORY_QT_MINGW})
list(PREPEND CMAKE_PREFIX_PATH ${HISTORY_QT_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Debian's wine64 keeps its loader out of PATH.
find_program(HISTORY_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(HISTORY_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${HISTORY_WINE})
endif()

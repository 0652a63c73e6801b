# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, POSIX-thread
# variant (g++-mingw-w64-x86-64-posix): std::thread and std::mutex work.
# Used by the `windows` preset and by scripts/build-qt-mingw.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVARO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KELVARO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVARO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${KELVARO_MINGW_TRIPLE}-windres)
set(CMAKE_AR           ${KELVARO_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       ${KELVARO_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Headers and libraries from the MinGW sysroot and from the folders given in
# CMAKE_PREFIX_PATH / CMAKE_FIND_ROOT_PATH (the cross-built Qt); programs
# (moc, rcc, uic come through QT_HOST_PATH) from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KELVARO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Test programs run under Wine (Debian's wine64), from ctest and for
# GoogleTest's test discovery.
find_program(KELVARO_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(KELVARO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${KELVARO_WINE}")
endif()

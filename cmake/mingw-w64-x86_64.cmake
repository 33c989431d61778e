# Cross-builds for 64-bit Windows with Debian's mingw-w64 (posix thread
# model); the test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HOPVANE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HOPVANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HOPVANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${HOPVANE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HOPVANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Keeps the build machine's own packages (its Qt above all) out of sight.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without the runtime linked in, a program needs libwinpthread-1.dll and the
# GCC DLLs beside it and fails to start without a word.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(HOPVANE_WINE wine)
if(HOPVANE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run ${HOPVANE_WINE})
endif()

# Cross-builds Korvalo for 64-bit Windows with Debian's mingw-w64:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The -posix compilers give std::thread its POSIX threads (winpthread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVALO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVALO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVALO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVALO_MINGW}-windres)

# Only the cross toolchain's own headers and libraries, never the build
# machine's /usr/include or /usr/lib.
set(CMAKE_FIND_ROOT_PATH /usr/${KORVALO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread inside every program: the program folder
# runs on a Windows machine that has nothing else installed.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Tests run under Wine where it is installed.
find_program(KORVALO_WINE NAMES wine wine64)
if(KORVALO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVALO_WINE})
endif()

# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX threads flavour, which
# std::thread and std::mutex need):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The Qt host is not built (there is no Qt for Windows here); the tests run under Wine when it
# is installed (scripts/test-windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(EXAMORA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${EXAMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EXAMORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_ASM_COMPILER ${EXAMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_RC_COMPILER ${EXAMORA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${EXAMORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry the compiler's runtime (libstdc++, libgcc, winpthread) inside, so they run
# from any folder without the MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The programs run under Wine where it is installed, for test discovery and ctest alike.
find_program(EXAMORA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(EXAMORA_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${EXAMORA_WINE})
endif()

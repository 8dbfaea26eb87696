# SPDX-License-Identifier: GPL-2.0-or-later
# Cross-builds the Windows programs (64-bit, Windows 10 and 11) with Debian's
# mingw-w64 compilers; tests and other built programs run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_SYSTEM_VERSION 10.0)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No DLL beyond Windows' own: the C and C++ run-time and winpthreads are
# linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release programs without their symbol tables.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Windows 10 API level: GetSystemTimePreciseAsFileTime, per-monitor DPI.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE NOMINMAX
                        WIN32_LEAN_AND_MEAN)

# Built programs (tests, test discovery) run under Wine, in a prefix of the
# build folder's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run;--prefix;${CMAKE_BINARY_DIR}/wine")

# SPDX-License-Identifier: GPL-2.0-or-later
# Cross-builds for 64-bit ARM Linux (a Raspberry Pi 3 or later, an arm64
# server) with Debian's crossbuild-essential-arm64, against the :arm64
# development packages installed beside this machine's own (multiarch).
# Built programs (tests, test discovery) run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# The install's strip and the notes' removal must take arm64 objects.
set(CMAKE_STRIP /usr/bin/aarch64-linux-gnu-strip CACHE FILEPATH "strip for arm64")
set(CMAKE_OBJCOPY /usr/bin/aarch64-linux-gnu-objcopy CACHE FILEPATH "objcopy for arm64")

# Libraries and headers come from the multiarch folders of this machine's
# root; the build's tools (Qt's moc, uic and rcc among them) are its own.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(QT_HOST_PATH /usr CACHE PATH "Qt's build tools, of this machine")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${CMAKE_HOST_SYSTEM_PROCESSOR}-linux-gnu/cmake CACHE PATH
    "Qt's CMake files for its build tools")

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-aarch64-static)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)

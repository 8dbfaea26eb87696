#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages the build, the tests and the demo need, when
# any of them is missing. Sourced by the other scripts.

# What ./scripts/test needs beyond the build: the driver-path test boots a
# kernel in QEMU with busybox as its first userland, and runs the program
# there under Xvfb, clicked by xdotool; the guest runs on this machine's own
# root, where the Windows program's scenario starts udevd for Wine.
statusanzeige_test_packages=(qemu-system-x86 busybox-static xvfb xdotool udev)

# What the Windows build needs besides: mingw-w64 (C++20, POSIX threads),
# googletest's sources, nlohmann-json's and toml++'s headers, NSIS for the installer,
# Wine with a virtual display for its tests, clang-tidy. The 32-bit sensor
# host is built with the i686 compiler and tested with Wine's 32-bit side
# (wine32, of the i386 architecture).
statusanzeige_windows_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix
                                g++-mingw-w64-i686-posix mingw-w64-tools googletest
                                nlohmann-json3-dev libtomlplusplus-dev nsis wine wine64 wine32:i386
                                fonts-wine xvfb clang-tidy python3)

# What the arm64 builds need besides: Debian's cross compilers and the :arm64
# development packages beside this machine's own (multiarch), qemu-user to
# run the programs and tests, and qemu-system-arm for the arm64 guest of the
# driver-path scenario. (Installing qt6-base-dev:arm64 may bring this
# machine's Qt to the same point release: Multi-Arch: same.)
statusanzeige_arm64_packages=(crossbuild-essential-arm64 libsensors-dev:arm64 qt6-base-dev:arm64
                              libxcb1-dev:arm64 libgl-dev:arm64 libgtest-dev:arm64
                              libgmock-dev:arm64 libtomlplusplus-dev:arm64 qemu-user-static
                              qemu-system-arm)

# What tools/fuzz needs besides: clang with libFuzzer and the sanitizers'
# runtimes (a recommendation of clang's, not a dependency).
statusanzeige_fuzz_packages=(clang libclang-rt-14-dev)

statusanzeige_install_deps() {
  statusanzeige_install_deps_only cmake ninja-build g++ qt6-base-dev libxcb1-dev libsensors-dev \
    libgtest-dev libgmock-dev libgl-dev nlohmann-json3-dev libtomlplusplus-dev clang-format clang-tidy python3 "$@"
}

# Installs just the packages named.
statusanzeige_install_deps_only() {
  local wanted=("$@")
  local missing=()
  local package
  for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing Debian packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  # A package of another architecture (wine32:i386) needs that architecture
  # known to dpkg; added once, before the package lists are fetched.
  local arch
  for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/^[^:]*:\(.*\)$/\1/p' | sort -u); do
    if [ "$arch" != "$(dpkg --print-architecture)" ] &&
       ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
      echo "Adding the $arch architecture to dpkg"
      "${sudo[@]}" dpkg --add-architecture "$arch"
    fi
  done
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

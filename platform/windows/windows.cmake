# SPDX-License-Identifier: GPL-2.0-or-later
# The Windows programs: the Win32 toolkit and the two executables, built with
# mingw-w64 (see cmake/mingw-w64-x86_64.cmake). Included by the top-level
# CMakeLists.txt after the portable libraries.

set(_windows ${CMAKE_CURRENT_LIST_DIR})
enable_language(RC)

# Debian's googletest sources, built for Windows with the rest. Tests are
# listed when ctest runs them, so that building needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
if(STATUSANZEIGE_TESTS AND NOT TARGET GTest::gtest)
  set(STATUSANZEIGE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "googletest sources")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${STATUSANZEIGE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest
                   EXCLUDE_FROM_ALL SYSTEM)
  foreach(target gtest gtest_main gmock gmock_main)
    # Its own code, its own warnings.
    target_compile_options(${target} PRIVATE -w)
  endforeach()
endif()

statusanzeige_layer(sa_windows
  SOURCES ${_windows}/asus_sensors.cpp ${_windows}/gdi_canvas.cpp ${_windows}/hid_iowkit.cpp
          ${_windows}/lhm_fetch.cpp ${_windows}/messages.cpp ${_windows}/system_clock.cpp
          ${_windows}/termination.cpp ${_windows}/text.cpp ${_windows}/win_event_pump.cpp
          ${_windows}/win_facts.cpp
          ${_windows}/win_form_window.cpp ${_windows}/win_machine.cpp
          ${_windows}/win_painted_window.cpp ${_windows}/win_window.cpp
          ${_windows}/win_window_system.cpp ${_windows}/windows_hid.cpp
          ${_windows}/windows_sensors.cpp ${_windows}/sensor_host_process.cpp
  USES sa_shared sa_platform
  LIBS hid setupapi comctl32 gdi32 user32 shell32 winhttp advapi32)

# statusanzeige_i686(OUTPUT SOURCE [FLAGS ...]): a 32-bit program or library
# from one source, by Debian's i686 compiler, with this build's definitions
# and warnings (CMake builds for one processor per build, and this one is
# small enough for one command).
find_program(STATUSANZEIGE_I686_CXX i686-w64-mingw32-g++-posix REQUIRED)
get_directory_property(_definitions DIRECTORY ${CMAKE_SOURCE_DIR} COMPILE_DEFINITIONS)
get_directory_property(_options DIRECTORY ${CMAKE_SOURCE_DIR} COMPILE_OPTIONS)
list(TRANSFORM _definitions PREPEND -D)
set(STATUSANZEIGE_I686_FLAGS -std=c++20 -O2 ${_options} ${_definitions} -I${CMAKE_SOURCE_DIR}
    -static -static-libgcc -static-libstdc++ -s)
function(statusanzeige_i686 output source)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "FLAGS")
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${STATUSANZEIGE_I686_CXX} ${STATUSANZEIGE_I686_FLAGS} ${arg_FLAGS} -o ${output} ${source}
    DEPENDS ${source} ${_windows}/sensor_host/protocol.h ${CMAKE_SOURCE_DIR}/platform/sensors.h
    COMMENT "Building the 32-bit ${output}"
    VERBATIM)
endfunction()

# The sensor host that loads Asus.dll for the programs, one source built for
# both bitnesses: statusanzeige-sensor-host64.exe a target of this build,
# statusanzeige-sensor-host32.exe by the i686 compiler.
add_executable(statusanzeige-sensor-host64 WIN32 ${_windows}/sensor_host/sensor_host.cpp)
set(STATUSANZEIGE_SENSOR_HOST32 ${CMAKE_BINARY_DIR}/statusanzeige-sensor-host32.exe)
statusanzeige_i686(${STATUSANZEIGE_SENSOR_HOST32} ${_windows}/sensor_host/sensor_host.cpp
                   FLAGS -mwindows)
add_custom_target(statusanzeige-sensor-host32 ALL DEPENDS ${STATUSANZEIGE_SENSOR_HOST32})

# statusanzeige.exe and statusanzeige-demo.exe: GUI programs (no console
# window of their own), with the icon, the manifest and version information.
function(statusanzeige_windows_program name main description)
  add_executable(${name} WIN32 ${main} ${_windows}/statusanzeige.rc)
  target_link_libraries(${name} PRIVATE ${ARGN} sa_windows)
  add_dependencies(${name} statusanzeige-sensor-host32 statusanzeige-sensor-host64)
  set(program_name ${name})
  set(program_description ${description})
  configure_file(${_windows}/program_info.h.in ${CMAKE_CURRENT_BINARY_DIR}/${name}/program_info.h
                 @ONLY)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name})
  set_property(SOURCE ${_windows}/statusanzeige.rc APPEND PROPERTY OBJECT_DEPENDS
               ${_windows}/statusanzeige.ico ${_windows}/statusanzeige.manifest)
endfunction()

statusanzeige_windows_program(statusanzeige ${_windows}/statusanzeige_main.cpp
  "statusanzeige: PC status on an SLG 2016 LED display" sa_app)
statusanzeige_windows_program(statusanzeige-demo ${_windows}/demo_main.cpp
  "statusanzeige-demo: statusanzeige on an emulated display" sa_emulator)

# The soak benchmark (bench/soak), a console program for Wine.
add_executable(statusanzeige-soak ${CMAKE_SOURCE_DIR}/bench/soak_windows_main.cpp)
target_link_libraries(statusanzeige-soak PRIVATE sa_emulator sa_windows psapi)

# What a failing sensor function costs (bench/wine-sensor-host).
add_executable(statusanzeige-sensor-host-bench
               ${CMAKE_SOURCE_DIR}/bench/sensor_host_windows_main.cpp)
target_link_libraries(statusanzeige-sensor-host-bench PRIVATE sa_windows)

# The installer and the portable .zip.
include(${CMAKE_SOURCE_DIR}/packaging/windows/windows-packaging.cmake)

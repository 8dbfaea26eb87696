# SPDX-License-Identifier: GPL-2.0-or-later
# Linux: the kernel's iowarrior driver, lm-sensors and the clock (sa_linux),
# Qt 6 Widgets for the windows and the event loop (sa_qt), and the programs.
add_library(sa_linux STATIC
  platform/linux/iowarrior_linux.cpp
  platform/linux/libsensors_sensors.cpp
  platform/linux/system_clock.cpp)
target_include_directories(sa_linux PUBLIC ${SENSORS_INCLUDE_DIR})
target_link_libraries(sa_linux PUBLIC sa_core ${SENSORS_LIBRARY})

add_library(sa_qt STATIC
  platform/qt/qt_canvas.cpp
  platform/qt/qt_event_pump.cpp
  platform/qt/qt_toolkit.cpp
  platform/qt/qt_windows.cpp
  platform/qt/termination_signals.cpp)
target_link_libraries(sa_qt PUBLIC sa_linux Qt6::Widgets)

add_executable(statusanzeige platform/qt/statusanzeige_main.cpp)
target_link_libraries(statusanzeige PRIVATE sa_qt sa_core)

add_executable(statusanzeige-demo platform/qt/demo_main.cpp)
target_link_libraries(statusanzeige-demo PRIVATE sa_qt sa_emulator)

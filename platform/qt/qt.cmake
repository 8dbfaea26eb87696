# SPDX-License-Identifier: GPL-2.0-or-later
# Linux: the kernel's iowarrior driver, lm-sensors and the clocks (sa_linux),
# the wall-second timer, the termination signals and the window-less loop
# (sa_posix), Qt 6 Widgets for the windows and the event loop (sa_qt), and
# the programs, whose main() puts them together.
statusanzeige_layer(sa_posix
  SOURCES platform/posix/second_timer.cpp platform/posix/termination_signals.cpp
          platform/posix/wait_kernel.cpp platform/posix/windowless_loop.cpp
  USES sa_shared sa_platform)

statusanzeige_layer(sa_linux
  SOURCES platform/linux/iowarrior_linux.cpp platform/linux/libsensors_sensors.cpp
          platform/linux/linux_facts.cpp platform/linux/linux_machine.cpp platform/linux/system_clock.cpp
  USES sa_shared sa_platform
  LIBS ${SENSORS_LIBRARY})
target_include_directories(sa_linux_objects PUBLIC ${SENSORS_INCLUDE_DIR})

statusanzeige_layer(sa_qt
  SOURCES platform/qt/qt_canvas.cpp platform/qt/qt_event_pump.cpp platform/qt/qt_window_system.cpp
          platform/qt/qt_windows.cpp platform/qt/termination_signals.cpp
  USES sa_posix sa_platform
  LIBS Qt6::Widgets ${XCB_LIBRARY})

add_executable(statusanzeige platform/qt/statusanzeige_main.cpp)
target_link_libraries(statusanzeige PRIVATE sa_app sa_linux sa_qt)

add_executable(statusanzeige-demo platform/qt/demo_main.cpp)
target_link_libraries(statusanzeige-demo PRIVATE sa_emulator sa_linux sa_qt)

# SPDX-License-Identifier: GPL-2.0-or-later
# Linux with a window: Qt 6 Widgets for the windows and the event loop
# (sa_qt), on the machine part (platform/linux/linux.cmake), and the
# programs, whose main() puts them together.
statusanzeige_layer(sa_qt
  SOURCES platform/qt/qt_canvas.cpp platform/qt/qt_event_pump.cpp platform/qt/qt_window_system.cpp
          platform/qt/qt_windows.cpp platform/qt/termination_signals.cpp
  USES sa_posix sa_platform
  LIBS Qt6::Widgets ${XCB_LIBRARY})

add_executable(statusanzeige platform/qt/statusanzeige_main.cpp)
target_link_libraries(statusanzeige PRIVATE sa_app sa_linux sa_qt)

add_executable(statusanzeige-demo platform/qt/demo_main.cpp)
target_link_libraries(statusanzeige-demo PRIVATE sa_emulator sa_linux sa_qt)

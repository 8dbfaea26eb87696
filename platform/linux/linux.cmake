# SPDX-License-Identifier: GPL-2.0-or-later
# Linux: the kernel's iowarrior driver, lm-sensors and the clocks (sa_linux),
# and the wall-second timer, the termination signals and the window-less loop
# (sa_posix). The window system comes with Qt (platform/qt/qt.cmake); the
# window-less build (STATUSANZEIGE_WINDOW=OFF) has none and builds its
# programs here, from the machine part alone.
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

if(NOT STATUSANZEIGE_WINDOW)
  add_executable(statusanzeige platform/linux/statusanzeige_main.cpp)
  target_link_libraries(statusanzeige PRIVATE sa_app sa_linux sa_posix)

  add_executable(statusanzeige-demo platform/linux/demo_main.cpp)
  target_link_libraries(statusanzeige-demo PRIVATE sa_emulator sa_linux sa_posix)

  # The C++ runtime linked in: the shared libstdc++ alone costs more
  # resident memory (some 1.5 MB, most of it its own start-up) than the
  # whole rest of a run. The sanitizers want the shared one.
  if(NOT STATUSANZEIGE_SANITIZE)
    target_link_options(statusanzeige PRIVATE -static-libstdc++ -static-libgcc)
    target_link_options(statusanzeige-demo PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endif()

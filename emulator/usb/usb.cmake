# SPDX-License-Identifier: GPL-2.0-or-later
# The emulated IO-Warrior 24 on the Linux USB gadget stack, for the test that
# runs statusanzeige through the kernel's iowarrior driver in a virtual
# machine; built with the tests only.
if(STATUSANZEIGE_TESTS)
  add_library(sa_usb_gadget STATIC emulator/usb/iow24_function.cpp)
  target_link_libraries(sa_usb_gadget PUBLIC sa_emulator)

  # The guest runs the gadget from a shared folder: it is linked statically
  # so that it needs nothing else there. Sanitizer runtimes do not link
  # statically.
  if(NOT STATUSANZEIGE_SANITIZE)
    add_executable(iow24-gadget emulator/usb/iow24_gadget.cpp)
    target_link_libraries(iow24-gadget PRIVATE sa_usb_gadget)
    target_link_options(iow24-gadget PRIVATE -static)
  endif()
endif()

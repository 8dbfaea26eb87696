# SPDX-License-Identifier: GPL-2.0-or-later
# Installation: the two programs, their manual pages, desktop entries with an
# icon, the AppStream metadata, the udev rule that lets the logged-in user open
# the controller, the systemd units, and the licence, copyright and changelog
# files. The window-less build is the Debian package statusanzeige-nox: the
# same but for the desktop entries, the icon and the AppStream metadata, and
# its documents in a folder of its own name.
if(NOT STATUSANZEIGE_WINDOW)
  set(CMAKE_INSTALL_DOCDIR "share/doc/statusanzeige-nox" CACHE PATH "Documentation")
endif()
include(GNUInstallDirs)
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(default_udev_dir "/usr/lib/udev/rules.d")
else()
  set(default_udev_dir "/etc/udev/rules.d")  # udev does not read /usr/local
endif()
set(STATUSANZEIGE_UDEV_RULES_DIR "${default_udev_dir}" CACHE PATH "Where the udev rule goes")
set(STATUSANZEIGE_APPSTREAM_ID "io.github.statusanzeige")

install(TARGETS statusanzeige statusanzeige-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the Debian package's) leaves out the compiler's notes
# too, as Debian's own packages do.
if(CMAKE_OBJCOPY AND NOT WIN32)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(program statusanzeige statusanzeige-demo)
        execute_process(
          COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
          COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()")
endif()
if(STATUSANZEIGE_WINDOW)
  install(FILES packaging/statusanzeige.desktop packaging/statusanzeige-demo.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/statusanzeige.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES packaging/${STATUSANZEIGE_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
install(FILES packaging/70-statusanzeige.rules DESTINATION ${STATUSANZEIGE_UDEV_RULES_DIR})
# The systemd units for running unattended (neither is enabled by installing
# it): a system service for a machine without a desktop, and a user service
# for the session.
set(STATUSANZEIGE_SYSTEMD_DIR "${CMAKE_INSTALL_PREFIX}/lib/systemd" CACHE PATH
    "Where the systemd units go (system/ and user/ below it)")
configure_file(packaging/systemd/statusanzeige.service.in
               ${CMAKE_BINARY_DIR}/packaging/system/statusanzeige.service @ONLY)
configure_file(packaging/systemd/statusanzeige-user.service.in
               ${CMAKE_BINARY_DIR}/packaging/user/statusanzeige.service @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/system/statusanzeige.service
        DESTINATION ${STATUSANZEIGE_SYSTEMD_DIR}/system)
install(FILES ${CMAKE_BINARY_DIR}/packaging/user/statusanzeige.service
        DESTINATION ${STATUSANZEIGE_SYSTEMD_DIR}/user)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The built-in texts as a texts file, with comments: where to start one's own.
install(FILES packaging/texts.toml DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
# The copyright file in Debian's machine-readable format names the licence;
# the full text goes along everywhere but in the Debian package, whose
# copyright file points to /usr/share/common-licenses/GPL-2 instead.
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES COPYING DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT licence_text)

# Manual pages and the changelog go in compressed, as Debian has them:
# gzip -9n, with no name or time stamp inside.
find_program(GZIP_EXECUTABLE gzip)
if(GZIP_EXECUTABLE)
  set(compressed "")
  foreach(source man/statusanzeige.1 man/statusanzeige-demo.1 changelog)
    get_filename_component(name "${source}" NAME)
    set(output "${CMAKE_BINARY_DIR}/packaging/${name}.gz")
    add_custom_command(
      OUTPUT "${output}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/packaging"
      COMMAND "${GZIP_EXECUTABLE}" -9nc "${CMAKE_SOURCE_DIR}/packaging/${source}" > "${output}"
      DEPENDS "${CMAKE_SOURCE_DIR}/packaging/${source}"
      VERBATIM)
    list(APPEND compressed "${output}")
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${compressed})
  install(FILES "${CMAKE_BINARY_DIR}/packaging/statusanzeige.1.gz"
                "${CMAKE_BINARY_DIR}/packaging/statusanzeige-demo.1.gz"
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES "${CMAKE_BINARY_DIR}/packaging/changelog.gz" DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_GENERATOR "DEB")
# Two flavours, as Debian ships vim-gtk3 beside vim-nox: each has the same
# programs at the same paths, so either replaces the other.
if(STATUSANZEIGE_WINDOW)
  set(CPACK_PACKAGE_NAME "statusanzeige")
  set(other_flavour "statusanzeige-nox")
else()
  set(CPACK_PACKAGE_NAME "statusanzeige-nox")
  set(other_flavour "statusanzeige")
endif()
set(CPACK_DEBIAN_PACKAGE_CONFLICTS "${other_flavour}")
set(CPACK_DEBIAN_PACKAGE_REPLACES "${other_flavour}")
set(CPACK_PACKAGE_CONTACT "statusanzeige developers <statusanzeige@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# CPack puts the leading space on each line; lines stay within 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Drives two SLG 2016 LED dot-matrix modules on an IO-Warrior 24 USB I/O\n"
    "controller. One click scrolls nine texts through the eight characters: two\n"
    "fixed texts and seven live motherboard readings from lm-sensors. Includes\n"
    "statusanzeige-demo, which runs the same program on an emulated display.")
if(NOT STATUSANZEIGE_WINDOW)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION} (window-less)")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Drives two SLG 2016 LED dot-matrix modules on an IO-Warrior 24 USB I/O\n"
      "controller, scrolling nine texts through the eight characters run after\n"
      "run: two fixed texts and seven live motherboard readings from lm-sensors.\n"
      "This build has no window and needs no display server, for a machine\n"
      "without a screen. Includes statusanzeige-demo, on an emulated display.")
endif()
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Qt 6 (but window-less) and libsensors, by dpkg-shlibdeps
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "lm-sensors")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)  # the package's programs carry no symbols; the build tree keeps them
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/COPYING")
# Settings that differ by generator (the Debian package leaves the licence text out).
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_SOURCE_DIR}/packaging/cpack_options.cmake")
include(CPack)

# Installation: the two programs, desktop entries with an icon, and the udev
# rule that lets the logged-in user open the controller.
include(GNUInstallDirs)
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(default_udev_dir "/usr/lib/udev/rules.d")
else()
  set(default_udev_dir "/etc/udev/rules.d")  # udev does not read /usr/local
endif()
set(STATUSANZEIGE_UDEV_RULES_DIR "${default_udev_dir}" CACHE PATH "Where the udev rule goes")

install(TARGETS statusanzeige statusanzeige-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/statusanzeige.desktop packaging/statusanzeige-demo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/statusanzeige.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/70-statusanzeige.rules DESTINATION ${STATUSANZEIGE_UDEV_RULES_DIR})
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "statusanzeige")
set(CPACK_PACKAGE_CONTACT "statusanzeige developers <statusanzeige@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Drives two SLG 2016 LED dot-matrix modules on an IO-Warrior 24 USB I/O controller.\n One click scrolls nine texts through the eight characters: two fixed texts and\n seven live motherboard readings from lm-sensors. Includes statusanzeige-demo,\n which runs the same program on an emulated display.")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Qt 6 and libsensors runtime packages, by dpkg-shlibdeps
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "lm-sensors")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
include(CPack)

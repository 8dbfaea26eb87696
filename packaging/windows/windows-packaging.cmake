# SPDX-License-Identifier: GPL-2.0-or-later
# The Windows installer (NSIS, Debian's nsis) and a portable .zip of the two
# programs and their sensor hosts: the targets "installer" and
# "portable-zip", made by
# scripts/build-windows. Included by platform/windows/windows.cmake.

set(_packaging ${CMAKE_CURRENT_LIST_DIR})
find_program(STATUSANZEIGE_MAKENSIS makensis)

set(STATUSANZEIGE_INSTALLER
    ${CMAKE_BINARY_DIR}/statusanzeige-${PROJECT_VERSION}-setup.exe)
set(STATUSANZEIGE_PORTABLE_ZIP
    ${CMAKE_BINARY_DIR}/statusanzeige-${PROJECT_VERSION}-windows-x64.zip)

if(STATUSANZEIGE_MAKENSIS)
  add_custom_command(
    OUTPUT ${STATUSANZEIGE_INSTALLER}
    COMMAND ${STATUSANZEIGE_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION}
            -DBUILD_DIR=$<TARGET_FILE_DIR:statusanzeige> -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DOUTFILE=${STATUSANZEIGE_INSTALLER} ${_packaging}/statusanzeige.nsi
    DEPENDS statusanzeige statusanzeige-demo statusanzeige-sensor-host64
            ${STATUSANZEIGE_SENSOR_HOST32} ${_packaging}/statusanzeige.nsi
            ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/COPYING
            ${PROJECT_SOURCE_DIR}/packaging/texts.toml
            ${PROJECT_SOURCE_DIR}/platform/windows/statusanzeige.ico
    COMMENT "Making the installer ${STATUSANZEIGE_INSTALLER}"
    VERBATIM)
  add_custom_target(installer DEPENDS ${STATUSANZEIGE_INSTALLER})
endif()

# statusanzeige-<version>/ with the two programs, the sensor hosts, the
# README, the licence and the example texts file, zipped.
set(_portable statusanzeige-${PROJECT_VERSION})
add_custom_command(
  OUTPUT ${STATUSANZEIGE_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/portable
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/portable/${_portable}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:statusanzeige> $<TARGET_FILE:statusanzeige-demo>
          $<TARGET_FILE:statusanzeige-sensor-host64> ${STATUSANZEIGE_SENSOR_HOST32}
          ${PROJECT_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR}/portable/${_portable}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/COPYING
          ${CMAKE_BINARY_DIR}/portable/${_portable}/COPYING.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/portable/${_portable}/examples
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/texts.toml
          ${CMAKE_BINARY_DIR}/portable/${_portable}/examples
  COMMAND ${CMAKE_COMMAND} -E rm -f ${STATUSANZEIGE_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/portable
          ${CMAKE_COMMAND} -E tar cf ${STATUSANZEIGE_PORTABLE_ZIP} --format=zip ${_portable}
  DEPENDS statusanzeige statusanzeige-demo statusanzeige-sensor-host64
          ${STATUSANZEIGE_SENSOR_HOST32} ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/COPYING ${PROJECT_SOURCE_DIR}/packaging/texts.toml
  COMMENT "Making the portable archive ${STATUSANZEIGE_PORTABLE_ZIP}"
  VERBATIM)
add_custom_target(portable-zip DEPENDS ${STATUSANZEIGE_PORTABLE_ZIP})

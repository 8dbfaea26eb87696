# SPDX-License-Identifier: GPL-2.0-or-later
# Read by cpack once per generator.
if(CPACK_GENERATOR STREQUAL "DEB")
  # One package of everything but the licence text: Debian keeps one copy of
  # the GPL, in /usr/share/common-licenses, and the copyright file points there.
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL Unspecified)
endif()

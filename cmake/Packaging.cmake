# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the program, made by `cpack` in the build folder (`make package`).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorkventa)
set(CPACK_PACKAGE_VENDOR "Zorkventa developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "supersonic flow past a wedge, solved on the shock polar")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zorkventa developers <developers@zorkventa.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zorkventa.org/")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The long description under the summary line; an empty line separates paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Зорквента is a teaching program for gas dynamics.  For a gas (speed of sound,
ratio of specific heats), a free-stream velocity and a wedge half-angle it
draws the shock polar in the hodograph plane, constructs the attached oblique
shock graphically (or approximates the detached one) and shows the pressure,
density, velocity and temperature ratios across the shock.  A window with
streaming gas particles shows the flow turning at the shock, and a theory
window explains the construction.

The package also holds zorkventa-batch, which solves saved cases without a
display and writes the diagram as a picture.")
# The libraries come from dpkg-shlibdeps.  The window system plugin and the fonts the diagram's
# letters are drawn with are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-dejavu-core")

include(CPack)

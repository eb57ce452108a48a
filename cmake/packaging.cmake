# The Debian package: `cpack -G DEB` in the build folder. Library dependencies
# come from the binaries (dpkg-shlibdeps); the list below names what no binary
# links but the programs need at run time.

set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "Tessaly")
set(CPACK_PACKAGE_CONTACT "Tessaly developers <tessaly@tessaly.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Shapefile to KML converter for Google Earth")
set(CPACK_PACKAGE_DESCRIPTION
  "Tessaly turns an ESRI shapefile and its attribute table into a styled KML document:\n\
labels, balloons, classes by value or range, colour ramps and 3D heights, from\n\
geographic or UTM input on any of 221 datums. It has a desktop wizard (tessaly)\n\
and a command-line converter (tessaly-convert).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugins, the fonts the windows are drawn in and the web map's Leaflet.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, libjs-leaflet")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.tessaly.net")
include(CPack)

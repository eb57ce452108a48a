# The Debian package: `cpack -G DEB` in the build folder. Library dependencies
# come from the binaries (dpkg-shlibdeps); the list below names what no binary
# links but the programs need at run time, PROJ: the programs open it only
# when a run needs it.

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
set(opened_packages "")
foreach(library ${TESSALY_PROJ_SONAME_FILE})
  execute_process(COMMAND dpkg-query -S ${library} OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
  string(REGEX MATCH "^[^:]+" package "${owner}")
  if(failed OR NOT package)
    message(WARNING "no Debian package holds ${library}: a package made here will not depend on it")
  else()
    string(APPEND opened_packages ", ${package}")
  endif()
endforeach()
# The window system plugins, the fonts the windows are drawn in and the web map's Leaflet.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, libjs-leaflet${opened_packages}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.tessaly.net")
include(CPack)

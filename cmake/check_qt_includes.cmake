# Fails when a source outside the window folders (app/, widgets/ and each gui/)
# includes Qt: the core and the converter must build and run without it.
# Run as: cmake -DSOURCE_DIR=<checkout> -P check_qt_includes.cmake
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/engine/*.h ${SOURCE_DIR}/engine/*.cpp
  ${SOURCE_DIR}/input/*.h ${SOURCE_DIR}/input/*.cpp
  ${SOURCE_DIR}/symbology/*.h ${SOURCE_DIR}/symbology/*.cpp
  ${SOURCE_DIR}/cli/*.h ${SOURCE_DIR}/cli/*.cpp)
set(offenders "")
foreach(source IN LISTS sources)
  if(source MATCHES "(^|/)gui/")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
  if(lines)
    list(APPEND offenders ${source})
  endif()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " listed)
  message(FATAL_ERROR "Qt included outside the window folders:\n  ${listed}")
endif()

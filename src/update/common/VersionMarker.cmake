# tavrik_embed_version_marker(<target> [VERSION a.b.c.d])
#
# Embeds the version marker that the update check reads from installed files
# ("@(#)tavrik-version <file version> <product version>"). The version is the
# project version as four numbers (a missing fourth number is 0) unless given.
function(tavrik_embed_version_marker target)
  cmake_parse_arguments(M "" "VERSION" "" ${ARGN})
  if(M_VERSION)
    set(TAVRIK_MARKER_VERSION ${M_VERSION})
  else()
    set(tweak ${PROJECT_VERSION_TWEAK})
    if("${tweak}" STREQUAL "")
      set(tweak 0)
    endif()
    set(patch ${PROJECT_VERSION_PATCH})
    if("${patch}" STREQUAL "")
      set(patch 0)
    endif()
    set(TAVRIK_MARKER_VERSION
        "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${patch}.${tweak}")
  endif()
  if(NOT TAVRIK_MARKER_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "tavrik_embed_version_marker: '${TAVRIK_MARKER_VERSION}' is not four numbers")
  endif()
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_marker.cpp)
  configure_file(${CMAKE_SOURCE_DIR}/src/update/common/VersionMarker.cpp.in ${generated} @ONLY)
  target_sources(${target} PRIVATE ${generated})
endfunction()

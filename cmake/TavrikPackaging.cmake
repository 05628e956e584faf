# Installation layout and the Debian package.
#
#   bin/                     tavrik, tavrik-launch (the menu's entry point) and the tools
#   share/tavrik/            the 3D model with its texture, the map page with geo/,
#                            config.default: what the launcher copies into each user's
#                            working directory
#   share/applications/      tavrik.desktop
#   share/icons/hicolor/     the icon, drawn by tools/icon at each size
#
# Each folder installs what it builds; this file holds the shared places, the
# parts that belong to no folder, and the package's description.
#
#   cmake --install <build> --prefix <prefix>     (DESTDIR honoured)
#   cpack -G DEB   (from the build tree)           ->  tavrik_<version>-1_<arch>.deb

include(GNUInstallDirs)
set(TAVRIK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tavrik)

# tavrik_install_link(<target> <destination>): installs <destination> (relative
# to the prefix) as a symbolic link to the absolute path <target>, another
# package's file. The link is relative when the target lies under the same
# prefix, as links inside /usr are kept in Debian's packages.
function(tavrik_install_link target destination)
  get_filename_component(folder ${destination} DIRECTORY)
  set(code [[
    block(PROPAGATE CMAKE_INSTALL_MANIFEST_FILES)
      set(target "@target@")
      set(link "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@destination@")
      string(FIND "${target}" "${CMAKE_INSTALL_PREFIX}/" under_prefix)
      if(under_prefix EQUAL 0)
        file(RELATIVE_PATH target "${CMAKE_INSTALL_PREFIX}/@folder@" "${target}")
      endif()
      message(STATUS "Linking: ${link} -> ${target}")
      file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@folder@")
      file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
      list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${link}")
    endblock()
  ]])
  string(CONFIGURE "${code}" code @ONLY)
  install(CODE "${code}")
endfunction()

# Without the window there is nothing to start from a menu: the GUI-free
# builds (fuzzing) only install their tools.
if(NOT TAVRIK_GUI OR TAVRIK_FUZZ)
  return()
endif()

# The icon.
if(NOT TARGET tavrik-icon)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tools/icon ${CMAKE_BINARY_DIR}/tools/icon)
endif()
set(TAVRIK_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icon_dir ${CMAKE_BINARY_DIR}/packaging/icons)
set(icon_files)
foreach(size IN LISTS TAVRIK_ICON_SIZES)
  list(APPEND icon_files ${icon_dir}/${size}x${size}/apps/tavrik.png)
  install(FILES ${icon_dir}/${size}x${size}/apps/tavrik.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_command(OUTPUT ${icon_files}
  COMMAND tavrik-icon ${icon_dir} ${TAVRIK_ICON_SIZES}
  DEPENDS tavrik-icon
  COMMENT "Drawing the program's icon"
  VERBATIM)
add_custom_target(tavrik_icons ALL DEPENDS ${icon_files})

# The launcher finds the shared files relative to itself, so it works from the
# package, from any other prefix and from a staging copy alike.
file(RELATIVE_PATH TAVRIK_LAUNCH_DATA_FROM_BIN
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/tavrik)
configure_file(${CMAKE_SOURCE_DIR}/packaging/tavrik-launch.in
               ${CMAKE_BINARY_DIR}/packaging/tavrik-launch @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/tavrik-launch DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/config.default DESTINATION ${TAVRIK_INSTALL_DATADIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tavrik.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The Debian package.
set(TAVRIK_PACKAGE_MAINTAINER "Tavrik developers <tavrik@localhost>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavrik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor and configure inertial navigation units")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVRIK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# cpack puts the summary in front as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tavrik talks to an inertial navigation unit (gyros, accelerometers, GNSS
receiver, odometer) on a serial port. It shows the decoded navigation
frames as numbers, status lamps, instruments, curves, a 3D model and a
track on a map; configures the unit; records, replays and converts logs;
and upgrades the unit's firmware through its boot loader.
.
Start it from the menu: each user gets a working directory of their own
in ~/.local/share/tavrik with a default configuration.")
# The libraries come from the programs' links; these are what they load by
# name at run time: Qt's platform plugins beyond the X11 one (which comes
# with libqt6gui6), the browser's helper process QtWebEngineProcess, the
# map's Leaflet (the installed page links to it), the fonts of the Chinese
# interface and Arial's stand-in, and Qt's own texts in Chinese.
set(TAVRIK_RUNTIME_PACKAGES
    qt6-qpa-plugins libqt6webenginecore6-bin libjs-leaflet fonts-noto-cjk fonts-liberation2
    qt6-translations-l10n
    CACHE STRING "Packages the program needs that no library link reveals")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${TAVRIK_RUNTIME_PACKAGES}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# A source package, should anyone make one, leaves out build trees and Git.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/" "/\\\\.cache/")

include(CPack)

# Installs Skiff the way Debian installs games: the launcher in games/, the
# program in lib/games/skiff/, the data in share/games/skiff/, the level tool in
# bin/, plus a desktop entry, AppStream metadata, icons, the manual pages, the
# copyright and the changelog; and packs the same tree as a .deb that passes lintian.
install(TARGETS skiff RUNTIME DESTINATION ${SKIFF_INSTALL_GAMEDIR})
install(TARGETS skiff-level RUNTIME DESTINATION ${SKIFF_INSTALL_TOOLDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/launcher/skiff DESTINATION ${SKIFF_INSTALL_LAUNCHERDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/intro ${CMAKE_SOURCE_DIR}/data/bmp ${CMAKE_SOURCE_DIR}/data/level0
  DESTINATION ${SKIFF_INSTALL_DATADIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/allegro.cfg DESTINATION ${SKIFF_INSTALL_DATADIR})
install(FILES ${CMAKE_SOURCE_DIR}/tools/launcher/org.example.skiff.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/tools/launcher/org.example.skiff.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 48 64 128)
  install(FILES ${CMAKE_SOURCE_DIR}/tools/icons/skiff-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME skiff.png)
endforeach()

# Debian wants the manual page and the changelog compressed with gzip -9n (no name,
# no time stamp). Made when configuring, so that installing needs no build target.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/debian)
foreach(source docs/skiff.6 docs/skiff-level.1 cmake/debian/changelog)
  get_filename_component(name ${source} NAME)
  execute_process(COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/${source}
    OUTPUT_FILE ${CMAKE_BINARY_DIR}/debian/${name}.gz COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${source})
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/debian/skiff.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/debian/skiff-level.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/debian/changelog.gz ${CMAKE_BINARY_DIR}/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME skiff)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skiff)
set(CPACK_PACKAGE_VENDOR "Skiff developers")
set(CPACK_PACKAGE_CONTACT "Skiff developers <skiff@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling shoot-'em-up for one player")
set(CPACK_PACKAGE_DESCRIPTION
  "A cave scrolls slowly from right to left while you steer a small ship with
the arrow keys and fire straight ahead with the space bar. Aliens wake up as
they scroll into view and turn toward the ship like slow homing missiles.
Five lives, one level, drawn with OpenGL through Allegro 4 and AllegroGL.
The level tool skiff-level turns maps drawn in the Tiled map editor into
levels, checks them and plays them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (from dpkg-dev) finds every library with its version; without
# it the libraries the game and the level tool link are named by hand. Debian 13
# renamed those whose interface holds a time_t (liballegro4.4t64) and moved to
# TinyXML-2 11: of each pair of names, the one installed here is taken.
find_program(SKIFF_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(SKIFF_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(depends "")
  foreach(names liballeggl4.4t64|liballeggl4.4 liballegro4.4t64|liballegro4.4 libc6 libgcc-s1 libgl1
      libpng16-16t64|libpng16-16 libstdc++6 libtinyxml2-11|libtinyxml2-9
      libzstd1 zlib1g)
    string(REPLACE "|" ";" names ${names})
    foreach(name ${names})
      set(package ${name})
      execute_process(COMMAND dpkg-query -W -f=\${Status} ${name} OUTPUT_VARIABLE status ERROR_QUIET)
      if(status STREQUAL "install ok installed")
        break()
      endif()
    endforeach()
    if(package MATCHES "^liballeg")
      string(APPEND package " (>= 2:4.4.3.1)")
    endif()
    list(APPEND depends ${package})
  endforeach()
  string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
endif()

# The machine-readable copyright carries LICENSE's holder and permission text.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE SKIFF_COPYRIGHT REGEX "^Copyright \\(c\\) ")
string(REGEX REPLACE "^Copyright \\(c\\) " "" SKIFF_COPYRIGHT "${SKIFF_COPYRIGHT}")
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "Permission is hereby granted" start)
string(SUBSTRING "${licence}" ${start} -1 licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " SKIFF_LICENSE_TEXT "${licence}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/copyright.in ${CMAKE_BINARY_DIR}/debian/copyright @ONLY)
include(CPack)

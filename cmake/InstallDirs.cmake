# Where an installation puts Skiff's parts, the way Debian installs games: the launcher in
# games/, the program in lib/games/skiff/, the data in share/games/skiff/, the level tool in
# bin/. Relative to the prefix, so that an installed tree works wherever it was unpacked: each
# program finds the others from its own place.
include(GNUInstallDirs)

set(SKIFF_INSTALL_LAUNCHERDIR games CACHE STRING "Launcher directory, relative to the prefix")
set(SKIFF_INSTALL_GAMEDIR lib/games/skiff CACHE STRING "Program directory, relative to the prefix")
set(SKIFF_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/skiff CACHE STRING "Data directory, relative to the prefix")
set(SKIFF_INSTALL_TOOLDIR ${CMAKE_INSTALL_BINDIR} CACHE STRING "Level tool directory, relative to the prefix")
foreach(dir SKIFF_INSTALL_LAUNCHERDIR SKIFF_INSTALL_GAMEDIR SKIFF_INSTALL_DATADIR SKIFF_INSTALL_TOOLDIR)
  if(IS_ABSOLUTE "${${dir}}")
    message(FATAL_ERROR "${dir} must be relative to the install prefix")
  endif()
endforeach()

file(RELATIVE_PATH SKIFF_LAUNCHER_TO_GAMEDIR
  /prefix/${SKIFF_INSTALL_LAUNCHERDIR} /prefix/${SKIFF_INSTALL_GAMEDIR})
file(RELATIVE_PATH SKIFF_LAUNCHER_TO_DATADIR
  /prefix/${SKIFF_INSTALL_LAUNCHERDIR} /prefix/${SKIFF_INSTALL_DATADIR})
file(RELATIVE_PATH SKIFF_TOOL_TO_DATADIR
  /prefix/${SKIFF_INSTALL_TOOLDIR} /prefix/${SKIFF_INSTALL_DATADIR})
file(RELATIVE_PATH SKIFF_TOOL_TO_LAUNCHER
  /prefix/${SKIFF_INSTALL_TOOLDIR} /prefix/${SKIFF_INSTALL_LAUNCHERDIR}/skiff)

# The launcher a build tree plays with: the game built here, on the source tree's data/.
set(SKIFF_BUILD_LAUNCHER ${CMAKE_BINARY_DIR}/run/skiff)

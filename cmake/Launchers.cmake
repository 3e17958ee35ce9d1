# The two launchers, made from one template and differing only in the values put in. The
# installed one finds the game and the data from its own place and plays in the player's
# directory; the build tree's (SKIFF_BUILD_LAUNCHER) plays the game built here on the source
# tree's data/, as ./play does.

# skiff_launcher(OUTPUT GAME DATA PLAYER_DIR): the template with those values, GAME and DATA
# relative to the launcher's directory or absolute, PLAYER_DIR yes or no.
function(skiff_launcher output game data player_dir)
  set(SKIFF_LAUNCHER_GAME ${game})
  set(SKIFF_LAUNCHER_DATA ${data})
  set(SKIFF_LAUNCHER_PLAYER_DIR ${player_dir})
  configure_file(${CMAKE_SOURCE_DIR}/tools/launcher/skiff.in ${output} @ONLY)
endfunction()

skiff_launcher(${CMAKE_BINARY_DIR}/launcher/skiff
  ${SKIFF_LAUNCHER_TO_GAMEDIR}/skiff ${SKIFF_LAUNCHER_TO_DATADIR} yes)

# The game's path is known when the build system is generated, so the build tree's launcher is
# written then, executable, ready before anything is built.
skiff_launcher(${CMAKE_BINARY_DIR}/launcher/skiff-build.in $<TARGET_FILE:skiff> ${CMAKE_SOURCE_DIR}/data no)
file(GENERATE OUTPUT ${SKIFF_BUILD_LAUNCHER} INPUT ${CMAKE_BINARY_DIR}/launcher/skiff-build.in
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# A Windows build made on Linux runs its tests and tools under Wine: ctest and the build's own
# steps start every Windows program through build-windows/wine-run, which keeps a Wine prefix of
# the build's own (created on first use) and Wine's debug chatter off.
find_program(TALVORO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NOT TALVORO_WINE)
  message(STATUS "Wine not found: the Windows tests are built but cannot run here")
  return()
endif()
set(TALVORO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

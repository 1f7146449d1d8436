# Running Windows programs of this build under Wine, in a private prefix inside the build folder.
set(SKX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(SKX_WINEARCH win64)
  set(SKX_WINE_LOADER /usr/lib/wine/wine64)
else()
  set(SKX_WINEARCH win32)
  set(SKX_WINE_LOADER /usr/lib/wine/wine)
endif()
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(SKX_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SKX_WINE_RUN})

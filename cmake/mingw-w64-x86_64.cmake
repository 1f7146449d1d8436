# Cross build for 64-bit Windows with MinGW-w64: the same sources, for running the Windows-side
# tests where Wine cannot execute 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SKX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

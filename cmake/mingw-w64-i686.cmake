# Cross build for 32-bit Windows with MinGW-w64 (posix thread model, needed by GoogleTest).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SKX_MINGW_TRIPLE i686-w64-mingw32)
# Floating point on SSE2 as on x86_64: the x87 unit's 80-bit intermediates would make a time
# computed afresh differ from the same time stored, and place tasks differently from 64-bit.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Cross build for 32-bit Windows with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(mingw_target i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/MinGW-w64.cmake")

# Cross-build for 32-bit Windows with mingw-w64; programs run under the 32-bit Wine loader.
set(KORVENDAL_TRIPLE i686-w64-mingw32)
set(KORVENDAL_ARCH x86)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)

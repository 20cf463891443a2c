# Cross-build for 64-bit Windows with mingw-w64; programs run under the 64-bit Wine loader.
set(KORVENDAL_TRIPLE x86_64-w64-mingw32)
set(KORVENDAL_ARCH x64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)

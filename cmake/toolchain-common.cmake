# Shared part of the two mingw-w64 toolchain files. The -posix compilers are used because
# googletest needs std::mutex, which the win32 thread model lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KORVENDAL_ARCH})
set(CMAKE_C_COMPILER ${KORVENDAL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVENDAL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVENDAL_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KORVENDAL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run;${KORVENDAL_ARCH})

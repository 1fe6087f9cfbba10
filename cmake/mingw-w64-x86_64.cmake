# Cross-compiling for 64-bit Windows with Debian's mingw-w64. The -posix
# compilers use winpthreads, which Qt needs for std::thread and friends.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(AMINO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${AMINO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AMINO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${AMINO_MINGW_TRIPLE}-windres)

# Headers, libraries and CMake packages come from the target's tree (and
# from whatever a caller adds to the root path, such as a Qt for Windows);
# programs run at build time are the build machine's own.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${AMINO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Cross-compiling for Windows with Debian's mingw-w64, for the processor the
# including toolchain file names in AMINO_MINGW_TRIPLE. The POSIX thread
# model's compilers, whose std::mutex GoogleTest needs; linked statically
# (see the top-level CMakeLists.txt), winpthreads goes into the file too.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${AMINO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AMINO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${AMINO_MINGW_TRIPLE}-windres)

# Headers and libraries come from the target's tree; programs run at build
# time are the build machine's own.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${AMINO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The Windows program: 32-bit, for every Windows from 7 to 11, 32- or 64-bit.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(AMINO_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# The same sources for 64-bit Windows: what the Windows checks run where
# 32-bit Wine cannot be installed.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(AMINO_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

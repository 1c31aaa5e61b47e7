# 32-bit Windows, the release build. Posix thread model: it has std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(PLYVANE_MINGW_TRIPLE i686-w64-mingw32)
# The synthesis relies on true single precision: SSE2 math, never x87.
# msvcrt's malloc aligns to 8 bytes, not the 16 that g++ assumes for i686:
# types aligned to 16 (the decoder's vectors) must take the aligned new.
set(PLYVANE_ARCH_FLAGS "-msse2 -mfpmath=sse -faligned-new=8")
set(PLYVANE_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

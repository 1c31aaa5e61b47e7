# Shared part of the MinGW-w64 toolchain files; the caller sets
# PLYVANE_MINGW_TRIPLE, PLYVANE_ARCH_FLAGS and PLYVANE_WINE_ARCH.
set(CMAKE_C_COMPILER   ${PLYVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLYVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${PLYVANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PLYVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_C_FLAGS_INIT   "${PLYVANE_ARCH_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${PLYVANE_ARCH_FLAGS}")
# Fully static: no MinGW runtime DLL has to ship beside the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Read by the top CMakeLists.txt to run test programs under Wine.
set(PLYVANE_WINE_ARCH ${PLYVANE_WINE_ARCH} CACHE STRING "Wine prefix architecture for tests")

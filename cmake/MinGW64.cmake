# Cross build for 64-bit Windows with Debian's MinGW-w64 (the -posix compilers, for std::thread).
# KOLVRANE_SYSROOT holds the static image libraries built for MinGW by scripts/build-windows.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(KOLVRANE_SYSROOT "" CACHE PATH "Folder with include/ and lib/ of the static MinGW image libraries")
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${KOLVRANE_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The mingw-w64 cross toolchain for VT_MINGW_ARCH (i686 for the program, x86_64 for the Wine
# tests where a machine runs no 32-bit Wine), set by the file that includes this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VT_MINGW_ARCH})
set(CMAKE_C_COMPILER ${VT_MINGW_ARCH}-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${VT_MINGW_ARCH}-w64-mingw32-g++)
set(CMAKE_RC_COMPILER ${VT_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VT_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the cross-built test programs through Wine with the project's prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)

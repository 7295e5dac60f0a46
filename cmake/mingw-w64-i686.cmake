# Cross build for 32-bit Windows, which runs on 32-bit and 64-bit Windows
# alike, and on ARM through emulation.
# cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(MARLO_MINGW_TARGET i686-w64-mingw32)
set(MARLO_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

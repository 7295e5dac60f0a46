# Cross build for Windows with Debian's MinGW-w64 (posix threads): 64-bit,
# or 32-bit through cmake/mingw-w64-i686.cmake, which sets the two names.
# cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
if(NOT DEFINED MARLO_MINGW_TARGET)
    set(MARLO_MINGW_TARGET x86_64-w64-mingw32)
    set(MARLO_MINGW_PROCESSOR x86_64)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MARLO_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${MARLO_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MARLO_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${MARLO_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MARLO_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The runtime goes into each .exe, so that none needs a MinGW DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

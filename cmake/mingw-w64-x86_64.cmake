# Cross-builds Tessaro and its tests for 64-bit Windows with
# Debian's MinGW-w64; the tests run under Wine (`make windows`, scripts/windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The POSIX thread model: GCC 12's win32 model has no std::thread or std::mutex.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and packages only from the MinGW tree and from TESSARO_WINDOWS_PREFIX (the
# cross-built GoogleTest and the header-only libraries), never from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
if(TESSARO_WINDOWS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TESSARO_WINDOWS_PREFIX})
  set(CMAKE_CXX_FLAGS_INIT "-isystem ${TESSARO_WINDOWS_PREFIX}/include")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest and GoogleTest's test discovery run the executables through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Shared by the MinGW-w64 toolchain files, which set ORVJSON_MINGW_TRIPLE:
# Debian's MinGW-w64 with the POSIX thread model (which std::mutex in
# GoogleTest needs); the results run under wine. The header-only dependencies
# come from a folder holding only their headers (see
# OrvJsonDependencies.cmake), so that no Linux C library header leaks into
# the Windows build.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ORVJSON_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVJSON_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVJSON_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVJSON_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The 64-bit loader is named itself: the `wine` front script starts the
# 32-bit loader first, which a kernel without 32-bit support cannot start.
if(ORVJSON_MINGW_TRIPLE MATCHES "^x86_64" AND EXISTS /usr/lib/wine/wine64)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()

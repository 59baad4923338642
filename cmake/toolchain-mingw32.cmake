# Cross build for 32-bit x86 Windows (the DLL's original target).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ORVJSON_MINGW_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake")

# Every x86 processor since 2003 has SSE2, and Windows 8 and later require
# it: the text scanners use it here as on x86-64. Arithmetic stays on the
# x87 unit, as before.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")

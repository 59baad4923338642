# Cross build for 32-bit x86 Windows (the DLL's original target).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ORVJSON_MINGW_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake")

# Every x86 processor since 2003 has SSE2, and Windows 8 and later require
# it: the text scanners use it here as on x86-64, and so does arithmetic.
# On the x87 unit every result is rounded twice (to 64 bits, then to a
# double), so fast_float must take its slow path for every number with a
# fraction; in SSE2 registers doubles round once, as on x86-64, and a
# number of up to 15 digits reads in a division. Calls pass doubles as the
# 32-bit convention has it either way.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

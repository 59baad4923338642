# Cross build for 32-bit x86 Windows (the DLL's original target).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ORVJSON_MINGW_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake")

# Cross build for 64-bit x86 Windows, whose long is 32 bits: handles stay
# object addresses because objects live below 2 GiB.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ORVJSON_MINGW_TRIPLE x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake")

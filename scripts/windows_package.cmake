# Writes the CMake package configuration of a Windows archive.
# cmake -DVERSION=x.y.z -DBITS=32|64 -DOUT=folder -P scripts/windows_package.cmake
include(CMakePackageConfigHelpers)
set(ORVJSON_BITS ${BITS})
configure_file("${CMAKE_CURRENT_LIST_DIR}/../cmake/OrvJsonWindowsConfig.cmake.in" "${OUT}/OrvJsonConfig.cmake" @ONLY)
# The version file refuses the package to a project of the other pointer size.
math(EXPR CMAKE_SIZEOF_VOID_P "${BITS} / 8")
write_basic_package_version_file("${OUT}/OrvJsonConfigVersion.cmake" VERSION ${VERSION} COMPATIBILITY SameMajorVersion)

# Install rules: the library, the header, a CMake package (find_package(OrvJson
# CONFIG) gives OrvJson::orvjson), a pkg-config file, and a Debian package.
include(CMakePackageConfigHelpers)

install(TARGETS orvjson EXPORT OrvJsonTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# OrvJson.h for hosts of the same toolchain; orvjson_c.h and orvjson.hpp for
# C hosts and for C++ hosts of any compiler or standard library.
install(FILES include/OrvJson.h include/OrvJsonTypes.h include/orvjson_c.h include/orvjson.hpp
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES examples/sample.json DESTINATION ${CMAKE_INSTALL_DATADIR}/orvjson)

set(ORVJSON_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/OrvJson)
install(EXPORT OrvJsonTargets NAMESPACE OrvJson:: DESTINATION ${ORVJSON_CMAKE_DIR})
configure_package_config_file(cmake/OrvJsonConfig.cmake.in
  "${CMAKE_CURRENT_BINARY_DIR}/OrvJsonConfig.cmake" INSTALL_DESTINATION ${ORVJSON_CMAKE_DIR})
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/OrvJsonConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/OrvJsonConfig.cmake" "${CMAKE_CURRENT_BINARY_DIR}/OrvJsonConfigVersion.cmake"
  DESTINATION ${ORVJSON_CMAKE_DIR})

# Relocatable: the prefix is found from where the .pc file is installed.
file(RELATIVE_PATH ORVJSON_PC_TO_PREFIX "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig" "${CMAKE_INSTALL_PREFIX}")
configure_file(cmake/orvjson.pc.in "${CMAKE_CURRENT_BINARY_DIR}/orvjson.pc" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/orvjson.pc" DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set(CPACK_PACKAGE_NAME orvjson)
set(CPACK_PACKAGE_VENDOR "OrvJson")
set(CPACK_PACKAGE_CONTACT "OrvJson maintainers <maintainers@orvjson.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
include(CPack)

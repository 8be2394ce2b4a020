# The package other projects build against: find_package(Korvex) with
# Korvex::kxcore (and Korvex::kxplatform, which it links), korvex.pc for
# pkg-config, and a Debian package of the same layout through CPack.
include(CMakePackageConfigHelpers)

set(KX_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Korvex)

install(EXPORT KorvexTargets NAMESPACE Korvex:: DESTINATION ${KX_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KorvexConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/KorvexConfig.cmake
  INSTALL_DESTINATION ${KX_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/KorvexConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/KorvexConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/KorvexConfigVersion.cmake
  DESTINATION ${KX_INSTALL_CMAKEDIR})

# Relative to the prefix the file is found under, so a moved or unpacked
# installation still answers correctly.
file(RELATIVE_PATH KX_PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
configure_file(${CMAKE_CURRENT_LIST_DIR}/korvex.pc.in ${CMAKE_CURRENT_BINARY_DIR}/korvex.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/korvex.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set(CPACK_PACKAGE_NAME korvex)
set(CPACK_PACKAGE_VENDOR "The Korvex developers")
set(CPACK_PACKAGE_CONTACT "The Korvex developers <korvex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converts DXF drawings into compact Korvex drawing files")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}.0)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libpng16-16 | libpng16-16t64")
if(KX_ALLOCATOR_LIBRARY)
  # The runtime package of the allocator the programs link (libmimalloc2.0, libjemalloc2).
  if(KX_ALLOCATOR STREQUAL "mimalloc")
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libmimalloc2.0")
  else()
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libjemalloc2")
  endif()
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
include(CPack)

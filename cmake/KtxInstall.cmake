# `cmake --install` puts the libraries, the headers under include/ktxscp32 and a package
# config, so a host finds the library with find_package(ktxscp32) and links
# ktxscp32::ktxscp32 (shared) or ktxscp32::ktxscp32_static.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KTX_INSTALL_TARGETS ktxscp32_static)
if(TARGET ktxscp32)
  list(APPEND KTX_INSTALL_TARGETS ktxscp32)
endif()
install(TARGETS ${KTX_INSTALL_TARGETS} EXPORT ktxscp32Targets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(KTX_HEADER_DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ktxscp32)
install(FILES ${PROJECT_SOURCE_DIR}/include/ktxscp32.h DESTINATION ${KTX_HEADER_DESTINATION})
foreach(layer IN LISTS KTX_LAYERS)
  # The backends' private helpers stay behind; every other header may be reached
  # from the umbrella header.
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${layer} DESTINATION ${KTX_HEADER_DESTINATION}
    FILES_MATCHING PATTERN "*.h" PATTERN "posix" EXCLUDE PATTERN "win32" EXCLUDE)
endforeach()

set(KTX_CONFIG_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ktxscp32)
install(EXPORT ktxscp32Targets NAMESPACE ktxscp32:: DESTINATION ${KTX_CONFIG_DESTINATION})
file(WRITE ${PROJECT_BINARY_DIR}/ktxscp32Config.cmake
  "include(\"\${CMAKE_CURRENT_LIST_DIR}/ktxscp32Targets.cmake\")\n")
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ktxscp32ConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ktxscp32Config.cmake
  ${PROJECT_BINARY_DIR}/ktxscp32ConfigVersion.cmake DESTINATION ${KTX_CONFIG_DESTINATION})

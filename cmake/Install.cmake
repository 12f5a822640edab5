include(CMakePackageConfigHelpers)

install(TARGETS kwctrls kwctrls_static EXPORT KwCtrlsTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

foreach(header ${KW_HEADERS})
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${header})
    get_filename_component(rel_dir ${rel} DIRECTORY)
    install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kwctrls/${rel_dir})
endforeach()

set(KW_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KwCtrls)
install(EXPORT KwCtrlsTargets NAMESPACE KwCtrls:: DESTINATION ${KW_CMAKE_DIR})
configure_package_config_file(cmake/KwCtrlsConfig.cmake.in
    ${PROJECT_BINARY_DIR}/KwCtrlsConfig.cmake INSTALL_DESTINATION ${KW_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KwCtrlsConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KwCtrlsConfig.cmake ${PROJECT_BINARY_DIR}/KwCtrlsConfigVersion.cmake
    DESTINATION ${KW_CMAKE_DIR})

configure_file(cmake/kwctrls.pc.in ${PROJECT_BINARY_DIR}/kwctrls.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kwctrls.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

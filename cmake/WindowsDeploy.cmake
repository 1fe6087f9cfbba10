# The Windows program as a school gets it: one folder that holds the program,
# the Qt and compiler runtime DLLs it loads and the plugins Qt looks for
# beside it. CPack turns the folder into a portable zip and an NSIS installer.

install(TARGETS aminokiselini RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/COPYING DESTINATION . RENAME COPYING.txt)

install(FILES
    $<TARGET_FILE:Qt6::Core>
    $<TARGET_FILE:Qt6::Gui>
    $<TARGET_FILE:Qt6::Widgets>
    DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)

install(FILES ${AMINO_WINDOWS_RUNTIME_DLLS} DESTINATION .)

# Both generators name their file themselves (amino-cpack-options.cmake).
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/amino-cpack-options.cmake)

# A per-machine install under Program Files, listed among the installed
# programs, with a Start-menu entry; a 64-bit, Unicode installer, as the
# names are Cyrillic and the program is 64-bit only.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Аминокиселини")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY aminokiselini)
set(CPACK_NSIS_PACKAGE_NAME "Аминокиселини")
set(CPACK_NSIS_DISPLAY_NAME "Аминокиселини")
set(CPACK_PACKAGE_EXECUTABLES aminokiselini "Аминокиселини")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME aminokiselini.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/icons/aminokiselini.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/icons/aminokiselini.ico)
set(CPACK_NSIS_URL_INFO_ABOUT ${PROJECT_HOMEPAGE_URL})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")

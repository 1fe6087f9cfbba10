# The Windows program as a school gets it: one folder that holds the program,
# the Qt and compiler runtime DLLs it loads and the plugins Qt looks for
# beside it. These install rules are the one list of its files: CPack stages
# the folder once per package and turns it into a portable zip, an NSIS
# installer and an MSI.

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

# Last: strip the DLLs too, then sign the program (cmake/windows/sign).
set(amino_windows ${CMAKE_CURRENT_LIST_DIR}/windows)
install(CODE "set(AMINO_STRIP \"${CMAKE_STRIP}\")\nset(AMINO_SIGN \"${amino_windows}/sign\")")
install(SCRIPT ${amino_windows}/finish-install.cmake)

# Each generator names its file itself (amino-cpack-options.cmake). The MSI
# is External: cpack stages the tree and cmake/windows/msi.cmake builds it.
set(CPACK_GENERATOR ZIP NSIS External)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/amino-cpack-options.cmake)
set(CPACK_AMINO_WINDOWS_DIR ${amino_windows})
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${amino_windows}/msi.cmake)

# A per-machine install under Program Files, listed among the installed
# programs, with a Start-menu entry; a 64-bit, Unicode installer, as the
# names are Cyrillic and the program is 64-bit only. Its own checks
# (cmake/windows/checks.nsh) come first in .onInit, which CMake's template
# has no hook for: the template is copied with one line added.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\n!include '${amino_windows}/checks.nsh'")
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "!insertmacro AminoRemoveInstalledCopy")
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in amino_nsis_template)
string(REGEX REPLACE "\nFunction \\.onInit\n" "\nFunction .onInit\n  !insertmacro AminoOnInit\n"
    amino_nsis_patched "${amino_nsis_template}")
if(amino_nsis_patched STREQUAL amino_nsis_template)
    message(FATAL_ERROR "CMake's NSIS template has no .onInit to add the installer's checks to")
endif()
file(WRITE ${PROJECT_BINARY_DIR}/nsis-template/NSIS.template.in "${amino_nsis_patched}")
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_BINARY_DIR}/nsis-template)
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
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")

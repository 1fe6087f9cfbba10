# The Windows program as a school gets it: one folder with the program, which
# needs nothing but Windows, and its licence. These install rules are the one
# list of its files: CPack stages the folder once per package and turns it
# into a portable zip, an NSIS installer and an MSI.

install(TARGETS aminokiselini RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/COPYING DESTINATION . RENAME COPYING.txt)

# Last: sign the program (cmake/windows/sign), once install(TARGETS) has
# stripped it; stripping would break a signature.
set(amino_windows ${CMAKE_CURRENT_LIST_DIR}/windows)
install(CODE "execute_process(COMMAND \"${amino_windows}/sign\"
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/aminokiselini.exe\" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR \"could not sign aminokiselini.exe\")
endif()")

# The packages' names say what they hold: x86 runs on every Windows, 32- or
# 64-bit; x64 is the same program built for 64-bit Windows only.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(AMINO_WINDOWS_PACKAGE_ARCH x64)
    set(amino_nsis_target amd64-unicode)
else()
    set(AMINO_WINDOWS_PACKAGE_ARCH x86)
    set(amino_nsis_target x86-unicode)
endif()
set(CPACK_AMINO_PACKAGE_ARCH ${AMINO_WINDOWS_PACKAGE_ARCH})

# Each generator names its file itself (amino-cpack-options.cmake). The zip
# and the MSI are External: cpack stages the tree and
# cmake/windows/zip-and-msi.cmake packs them.
set(CPACK_GENERATOR NSIS External)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/amino-cpack-options.cmake)
set(CPACK_AMINO_WINDOWS_DIR ${amino_windows})
set(CPACK_AMINO_ZIP_FOLDER ${CMAKE_CURRENT_LIST_DIR}/zip-folder)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${amino_windows}/zip-and-msi.cmake)

# A per-machine install under Program Files (the 32-bit one on 64-bit
# Windows), listed among the installed programs, with a Start-menu entry; a
# Unicode installer, as the names are Cyrillic. Its own checks
# (cmake/windows/checks.nsh) come first in .onInit, which CMake's template
# has no hook for: the template is copied with one line added.
set(CPACK_NSIS_DEFINES "Target ${amino_nsis_target}\n!include '${amino_windows}/checks.nsh'")
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "!insertmacro AminoRemoveInstalledCopy")
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in amino_nsis_template)
string(REGEX REPLACE "\nFunction \\.onInit\n" "\nFunction .onInit\n  !insertmacro AminoOnInit\n"
    amino_nsis_patched "${amino_nsis_template}")
if(amino_nsis_patched STREQUAL amino_nsis_template)
    message(FATAL_ERROR "CMake's NSIS template has no .onInit to add the installer's checks to")
endif()
# The template speaks 64 languages, which make up most of the installer's
# size: Bulgarian first (the default where Windows speaks none of the two),
# and English.
string(REGEX REPLACE "(  !insertmacro MUI_LANGUAGE [^\n]*\n)+"
    "  !insertmacro MUI_LANGUAGE \"Bulgarian\"\n  !insertmacro MUI_LANGUAGE \"English\"\n"
    amino_nsis_languages "${amino_nsis_patched}")
if(amino_nsis_languages STREQUAL amino_nsis_patched)
    message(FATAL_ERROR "CMake's NSIS template names no languages to keep two of")
endif()
file(WRITE ${PROJECT_BINARY_DIR}/nsis-template/NSIS.template.in "${amino_nsis_languages}")
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_BINARY_DIR}/nsis-template)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
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
# makensis through a step that dates the options page cpack writes beside the
# script, as the staged files are (cmake/windows/makensis).
set(CPACK_NSIS_EXECUTABLE ${amino_windows}/makensis)
# The licence page shows the program's own licence, not CPack's placeholder.
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/COPYING)

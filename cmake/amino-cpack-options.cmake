# Read by cpack once per generator: the portable zip and the installers each
# get a name that says what they are.
if(CPACK_GENERATOR STREQUAL "External")
    set(CPACK_PACKAGE_FILE_NAME "aminokiselini-${CPACK_PACKAGE_VERSION}-windows-${CPACK_AMINO_PACKAGE_ARCH}")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "aminokiselini-${CPACK_PACKAGE_VERSION}-setup")
    # With a certificate (cmake/windows/sign), makensis signs the installer
    # and the uninstaller it carries as it writes them.
    if(NOT "$ENV{AMINO_SIGN_PKCS12}" STREQUAL "")
        string(APPEND CPACK_NSIS_DEFINES
            "\n!finalize '${CPACK_AMINO_WINDOWS_DIR}/sign %1' = 0"
            "\n!uninstfinalize '${CPACK_AMINO_WINDOWS_DIR}/sign %1' = 0")
    endif()
endif()

# Read by cpack once per generator: the portable zip and the installer each
# get a name that says what they are.
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "aminokiselini-${CPACK_PACKAGE_VERSION}-windows-x64")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "aminokiselini-${CPACK_PACKAGE_VERSION}-setup")
endif()

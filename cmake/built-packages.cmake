# Run by cpack once it has made the packages: the Debian package's size is
# counted again whatever the file system it was staged on
# (cmake/deb-installed-size).
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.deb$")
        execute_process(COMMAND "${CPACK_AMINO_DEB_INSTALLED_SIZE}" "${package}"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()

# The Windows packages: the portable zip, the NSIS installer and the MSI,
# each made by cpack from the install rules of WindowsDeploy.cmake.

include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/WindowsDeploy.cmake)

# Directories the package creates get the usual modes whatever the umask of
# whoever builds it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_PACKAGE_NAME aminokiselini)
set(CPACK_PACKAGE_VENDOR "Аминокиселини")
set(CPACK_PACKAGE_CONTACT "The Аминокиселини developers <developers@aminokiselini.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "teaching program on the classification of amino acids (Bulgarian)")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/staged-tree.cmake)

include(CPack)

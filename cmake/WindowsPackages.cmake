# Installation and packages: the Debian package, or the Windows ones.

include(GNUInstallDirs)

set(amino_resources ${PROJECT_SOURCE_DIR}/resources)

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/WindowsDeploy.cmake)
endif()

# Directories the package creates get the usual modes whatever the umask of
# whoever builds it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

if(UNIX AND NOT APPLE)
    install(TARGETS aminokiselini RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # qt_standard_project_setup() adds $ORIGIN to the install RPATH for
    # libraries installed beside the program; there are none, and a search
    # path under /usr/bin is one Debian does not allow.
    set_target_properties(aminokiselini PROPERTIES INSTALL_RPATH "")

    install(FILES ${amino_resources}/aminokiselini.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # Named after the component id, as AppStream tools look it up by that.
    install(FILES ${amino_resources}/aminokiselini.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME example.aminokiselini.Aminokiselini.metainfo.xml)

    foreach(size 32 48 64 128 256)
        install(FILES ${amino_resources}/icons/aminokiselini-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME aminokiselini.png)
    endforeach()
    install(FILES ${amino_resources}/icons/aminokiselini.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

    # Debian wants the changelog compressed, and -n keeps the build time out
    # of it so that two builds of one source give the same package.
    find_program(AMINO_GZIP gzip REQUIRED)
    set(amino_changelog_gz ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
    add_custom_command(OUTPUT ${amino_changelog_gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/debian/changelog
                ${PROJECT_BINARY_DIR}/packaging/changelog
        COMMAND ${AMINO_GZIP} -9nf ${PROJECT_BINARY_DIR}/packaging/changelog
        DEPENDS ${PROJECT_SOURCE_DIR}/debian/changelog
        VERBATIM)
    add_custom_target(aminokiselini_changelog ALL DEPENDS ${amino_changelog_gz})
    install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright ${amino_changelog_gz}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME aminokiselini)
set(CPACK_PACKAGE_VENDOR "Аминокиселини")
set(CPACK_PACKAGE_CONTACT "The Аминокиселини developers <developers@aminokiselini.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "teaching program on the classification of amino acids (Bulgarian)")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/staged-tree.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/built-packages.cmake)
set(CPACK_AMINO_DEB_INSTALLED_SIZE ${CMAKE_CURRENT_LIST_DIR}/deb-installed-size)

if(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window is laid out for Times New Roman's metrics. Liberation Serif has
# them, and Cyrillic; without it fontconfig picks a wider serif and the
# captions and the list no longer fit. (shlibdeps adds the libraries.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A desktop program for a school chemistry lesson, in Bulgarian. A pupil picks
one of the twenty proteinogenic amino acids from a list and at once sees
whether it is non-essential, essential or conditionally essential, and whether
its side chain is neutral non-polar, neutral weakly polar, acidic or basic.")

include(CPack)

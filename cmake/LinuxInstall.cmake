# What Linux installs: the program, its menu entry, icons, AppStream data and
# manual page. debian/rules installs these into the Debian package (debhelper
# adds the copyright and the changelog); `cmake --install` puts the same
# files under /usr/local.

include(GNUInstallDirs)

set(amino_resources ${PROJECT_SOURCE_DIR}/resources)

# The folders get the usual modes whatever the umask of whoever installs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS aminokiselini RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# qt_standard_project_setup() adds $ORIGIN to the install RPATH for
# libraries installed beside the program; there are none, and a search path
# under /usr/bin is one Debian does not allow.
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

install(FILES ${amino_resources}/aminokiselini.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Every suite of a Windows build runs through wine-test.sh, in one Wine prefix
# of the build tree, with Qt's and the compiler's DLLs on Wine's search path.
set(AMINO_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
set(amino_dll_dirs ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
foreach(dll ${AMINO_WINDOWS_RUNTIME_DLLS})
    get_filename_component(dir ${dll} DIRECTORY)
    list(APPEND amino_dll_dirs ${dir})
endforeach()
list(REMOVE_DUPLICATES amino_dll_dirs)
list(JOIN amino_dll_dirs ":" amino_dll_path)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-test.sh ${AMINO_WINE_PREFIX} ${amino_dll_path})

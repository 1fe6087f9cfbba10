# cpack's External generator runs this once it has staged the install tree:
# the portable zip and the MSI are made of that tree, the one the NSIS
# installer holds too. The zip is packed here rather than by cpack's own ZIP
# generator, which takes the files in the order the file system lists them,
# so that every build of one commit gives the same bytes.
set(amino_zip "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip")
set(amino_msi "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi")
execute_process(
    COMMAND "${CPACK_AMINO_ZIP_FOLDER}" "${CPACK_TEMPORARY_DIRECTORY}" "${amino_zip}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not pack ${amino_zip}")
endif()
execute_process(
    COMMAND "${CPACK_AMINO_WINDOWS_DIR}/make-msi" "${CPACK_TEMPORARY_DIRECTORY}"
            "${CPACK_PACKAGE_VERSION}" "${amino_msi}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make-msi could not build ${amino_msi}")
endif()
execute_process(COMMAND "${CPACK_AMINO_WINDOWS_DIR}/sign" "${amino_msi}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not sign ${amino_msi}")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES "${amino_zip}" "${amino_msi}")

# cpack's External generator runs this once it has staged the install tree:
# the MSI is made of that tree, the one the zip and the NSIS installer hold.
set(amino_msi "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi")
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
set(CPACK_EXTERNAL_BUILT_PACKAGES "${amino_msi}")

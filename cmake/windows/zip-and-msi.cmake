# cpack's External generator runs this once it has staged the install tree:
# the portable zip and the MSI are made of that tree, the one the NSIS
# installer holds too. The zip is packed here rather than by cpack's own ZIP
# generator, which takes the files in the order the file system lists them,
# so that every build of one commit gives the same bytes.
set(amino_zip "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip")
set(amino_msi "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi")

# amino_step(FAILURE COMMAND...): the command, or cpack stops with FAILURE.
function(amino_step failure)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${failure}")
    endif()
endfunction()

amino_step("could not pack ${amino_zip}"
    "${CPACK_AMINO_ZIP_FOLDER}" "${CPACK_TEMPORARY_DIRECTORY}" "${amino_zip}")
amino_step("make-msi could not build ${amino_msi}"
    "${CPACK_AMINO_WINDOWS_DIR}/make-msi" "${CPACK_TEMPORARY_DIRECTORY}" "${CPACK_PACKAGE_VERSION}"
    "${amino_msi}")
amino_step("could not sign ${amino_msi}" "${CPACK_AMINO_WINDOWS_DIR}/sign" "${amino_msi}")
set(CPACK_EXTERNAL_BUILT_PACKAGES "${amino_zip}" "${amino_msi}")

# Run by the install rules once every file is in place, cpack's staging
# included: strips the DLLs when stripping is asked for (install(TARGETS)
# strips the program itself), then signs the program when the school gives a
# certificate (see sign). Stripping comes first: it would break a signature.
#   AMINO_STRIP, AMINO_SIGN: set by the install rules before this runs.

set(amino_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB_RECURSE amino_dlls "${amino_root}/*.dll")
    foreach(dll IN LISTS amino_dlls)
        execute_process(COMMAND "${AMINO_STRIP}" --strip-unneeded "${dll}" RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "${AMINO_STRIP} could not strip ${dll}")
        endif()
    endforeach()
endif()
execute_process(COMMAND "${AMINO_SIGN}" "${amino_root}/aminokiselini.exe" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not sign ${amino_root}/aminokiselini.exe")
endif()

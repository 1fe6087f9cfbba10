# AMINO_WINDOWS_RUNTIME_DLLS: the C++ runtime DLLs of the compiler that built
# the program and Qt, which a Windows machine does not have.
set(AMINO_WINDOWS_RUNTIME_DLLS)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
        OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}" OR NOT EXISTS "${runtime_path}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} knows no ${runtime}")
    endif()
    file(REAL_PATH "${runtime_path}" runtime_path)
    list(APPEND AMINO_WINDOWS_RUNTIME_DLLS ${runtime_path})
endforeach()

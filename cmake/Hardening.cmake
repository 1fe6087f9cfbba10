# The hardening Debian's own packages get (dpkg-buildflags with
# hardening=+all), for every target, so that a plain cmake build has it too.
# Included right after project() so that every target, including ones added
# later, is built the same way.
#
# A build that takes its flags from dpkg-buildflags (debian/rules) turns this
# off: those are the flags of the release it is built on (a higher
# _FORTIFY_SOURCE, more options on some architectures), and ours, coming
# after them on the command line, would undo some.
option(AMINO_HARDENING "Add the hardening flags dpkg-buildflags gives (off where they come from it)" ON)
if(NOT AMINO_HARDENING)
    return()
endif()

# A format string that is not a literal, with no arguments to it, is an
# error, as in Debian's packages; for the Windows and WebAssembly builds too,
# whose compilers know the same warning.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wformat -Werror=format-security)
endif()

# Windows programs are relocatable by their own format, and WebAssembly has
# no such thing; PIE and the ELF options below are the Linux linker's.
if(EMSCRIPTEN)
    return()
endif()
if(NOT WIN32)
    include(CheckPIESupported)
    check_pie_supported(OUTPUT_VARIABLE amino_pie_output LANGUAGES CXX)
    if(NOT CMAKE_CXX_LINK_PIE_SUPPORTED)
        message(WARNING "The linker cannot produce position-independent executables:\n"
                        "${amino_pie_output}")
    endif()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND NOT WIN32)
    add_compile_options(-fstack-protector-strong)
    # _FORTIFY_SOURCE does nothing without optimisation and glibc warns about
    # that, which -Werror turns into a failure: keep it out of Debug (and so
    # out of the sanitizer build). The -U avoids a redefinition warning on
    # compilers that already define it.
    add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

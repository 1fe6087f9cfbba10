# expected_form: the library through which the C++ suites read
# tests/expected_form.json, in every build that has them (the Linux one and
# the Windows cross-build alike).
set(amino_expected_json ${PROJECT_SOURCE_DIR}/tests/expected_form.json)
file(READ ${amino_expected_json} AMINO_EXPECTED_FORM_JSON)
# A change to the file configures the build again, and so reaches the suites.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${amino_expected_json})
configure_file(${PROJECT_SOURCE_DIR}/tests/expected_form_json.h.in
    ${PROJECT_BINARY_DIR}/tests/expected_form/expected_form_json.h @ONLY)

# nlohmann/json from Debian's nlohmann-json3-dev, header-only. The Windows
# cross-build must not see the rest of /usr/include, so the suites get a
# folder with nothing but that library's own headers in it.
find_path(AMINO_NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT AMINO_NLOHMANN_JSON_DIR)
    message(FATAL_ERROR "No nlohmann/json.hpp: scripts/install-deps installs Debian's nlohmann-json3-dev")
endif()
set(amino_json_include ${PROJECT_BINARY_DIR}/tests/nlohmann-json)
file(MAKE_DIRECTORY ${amino_json_include})
file(CREATE_LINK ${AMINO_NLOHMANN_JSON_DIR}/nlohmann ${amino_json_include}/nlohmann SYMBOLIC)

add_library(expected_form STATIC
    ${PROJECT_SOURCE_DIR}/tests/expected_form.h
    ${PROJECT_SOURCE_DIR}/tests/expected_form.cpp)
target_include_directories(expected_form PUBLIC ${PROJECT_SOURCE_DIR}/tests
    PRIVATE ${PROJECT_BINARY_DIR}/tests/expected_form)
target_include_directories(expected_form SYSTEM PRIVATE ${amino_json_include})

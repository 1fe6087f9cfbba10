# The page's folder as a SCORM 1.2 package's: a copy of every file, and
# imsmanifest.xml beside them naming the page as the one SCO, each file
# listed, titled with the web app's name.
#   cmake -DPAGE_DIR=DIR -DPACKAGE_DIR=DIR -DTEMPLATE=imsmanifest.xml.in -DVERSION=X.Y.Z
#         -P make-scorm-package.cmake
cmake_policy(VERSION 3.25)

function(xml_escaped text out)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\"" "&quot;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Nothing left of an earlier build's files.
file(REMOVE_RECURSE ${PACKAGE_DIR})
file(COPY ${PAGE_DIR}/ DESTINATION ${PACKAGE_DIR})

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${PACKAGE_DIR} ${PACKAGE_DIR}/*)
list(SORT files)
set(FILES "")
foreach(file IN LISTS files)
    xml_escaped("${file}" href)
    string(APPEND FILES "      <file href=\"${href}\"/>\n")
endforeach()

file(READ ${PAGE_DIR}/manifest.webmanifest app)
string(JSON name GET "${app}" name)
xml_escaped("${name}" TITLE)
set(LAUNCH index.html)
if(NOT LAUNCH IN_LIST files)
    message(FATAL_ERROR "${PAGE_DIR} has no ${LAUNCH} to launch")
endif()
configure_file(${TEMPLATE} ${PACKAGE_DIR}/imsmanifest.xml @ONLY)

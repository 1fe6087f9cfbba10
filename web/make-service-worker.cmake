# Fills the service worker's template with the page's files, each with its
# SHA-256, and a hash of them all.
#   cmake -DPAGE_DIR=DIR -DTEMPLATE=sw.js.in -DOUTPUT=sw.js -P make-service-worker.cmake
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${PAGE_DIR} ${PAGE_DIR}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(PAGE_FILES "")
set(digests "")
foreach(file IN LISTS files)
    file(SHA256 ${PAGE_DIR}/${file} digest)
    string(APPEND digests "${file} ${digest}\n")
    string(APPEND PAGE_FILES "    '${file}': '${digest}',\n")
endforeach()
string(SHA256 PAGE_HASH "${digests}")
string(SUBSTRING ${PAGE_HASH} 0 16 PAGE_HASH)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)

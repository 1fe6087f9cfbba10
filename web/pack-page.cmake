# Packs the page's folder into its zip, every file dated now (or at
# SOURCE_DATE_EPOCH, for a zip built again byte for byte). Hosts send a file's
# date as Last-Modified and browsers keep a file unasked for a tenth of its
# age, so a fixed old date would hide a school's next version for years.
#   cmake -DFOLDER=NAME -DZIP=FILE.zip -P pack-page.cmake   (from the folder's parent)
string(TIMESTAMP now "%Y-%m-%d %H:%M:%S UTC" UTC)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip "--mtime=${now}" ${FOLDER}
    COMMAND_ERROR_IS_FATAL ANY)

# Run by cpack once it has staged the install tree, before any package is
# made of it: with SOURCE_DATE_EPOCH set, every file and folder is dated then
# (the commit's time, in a release), whenever it was built or checked out;
# and the modes are the usual ones whatever the umask of whoever built it.
execute_process(COMMAND chmod -R u=rwX,go=rX "${CPACK_TEMPORARY_DIRECTORY}"
    COMMAND_ERROR_IS_FATAL ANY)
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -exec
            touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
        COMMAND_ERROR_IS_FATAL ANY)
endif()

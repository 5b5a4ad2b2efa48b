# VANTREL_SOURCE_DATE_EPOCH: the time every time stamp of a build is taken from, in
# seconds since 1970: $SOURCE_DATE_EPOCH when set, else the last commit's time, else 0.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
    if(NOT epoch MATCHES "^[0-9]+$")
        message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a whole number of seconds, not '${epoch}'")
    endif()
else()
    find_package(Git QUIET)
    set(epoch 0)
    if(GIT_FOUND)
        execute_process(COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
            WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
            OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
            RESULT_VARIABLE git_failed)
        if(NOT git_failed AND commit_time MATCHES "^[0-9]+$")
            set(epoch "${commit_time}")
        endif()
    endif()
endif()
set(VANTREL_SOURCE_DATE_EPOCH "${epoch}")

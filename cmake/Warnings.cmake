# Common warning flags for every target of the project. The builds ./test runs turn them into
# errors (ORVO_WERROR), so a warning cannot land.
option(ORVO_WERROR "Treat warnings as errors" OFF)
function(orvo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror=return-type)
    if(ORVO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

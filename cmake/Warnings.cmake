# Common warning flags for every target of the project.
function(orvo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror=return-type)
endfunction()

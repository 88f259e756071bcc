# libFuzzer targets: built only with clang and ORVO_FUZZ.
if(ORVO_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(WARNING "ORVO_FUZZ needs clang; fuzz targets are not built")
    set(ORVO_FUZZ OFF)
endif()

# orvo_fuzz_target(name source libs...) also registers a short CTest run.
function(orvo_fuzz_target name source)
    if(NOT ORVO_FUZZ)
        return()
    endif()
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${ARGN})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
    set(work ${CMAKE_CURRENT_BINARY_DIR}/corpus-${name})
    add_test(NAME fuzz.${name}
             COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                     ${CMAKE_SOURCE_DIR}/tools/run-fuzzer $<TARGET_FILE:${name}> ${corpus} ${work}
                     ${ORVO_FUZZ_SECONDS})
    set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 120)
endfunction()
set(ORVO_FUZZ_SECONDS 4 CACHE STRING "Seconds each fuzzer runs under CTest")

# libFuzzer targets, built only by the `fuzz` preset (clang). The libraries are
# compiled with -fsanitize=fuzzer-no-link (from the preset); only the fuzz
# programs link the fuzzer's main.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PLYVANE_FUZZ needs clang (use the fuzz preset)")
endif()

# plyvane_add_fuzzer(name SOURCES a.cpp ... LIBS lib ... [CORPUS dir])
# CORPUS is the committed seed corpus, relative to the calling folder.
# scripts/test reads build/<preset>/fuzz-targets.txt and runs each target.
function(plyvane_add_fuzzer name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(corpus "")
    if(ARG_CORPUS)
        cmake_path(ABSOLUTE_PATH ARG_CORPUS BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE
                   OUTPUT_VARIABLE corpus)
    endif()
    set_property(GLOBAL APPEND PROPERTY PLYVANE_FUZZ_TARGETS "${name}=${corpus}")
endfunction()

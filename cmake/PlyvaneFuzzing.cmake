# libFuzzer targets, built only by the `fuzz` preset (clang). The libraries are
# compiled with -fsanitize=fuzzer-no-link (from the preset); only the fuzz
# programs link the fuzzer's main.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PLYVANE_FUZZ needs clang (use the fuzz preset)")
endif()

# plyvane_add_fuzzer(name SOURCES a.cpp ... LIBS lib ... [CORPUS dir ...])
# CORPUS names the committed seed folders, relative to the calling folder.
# scripts/test reads build/<preset>/fuzz-targets.txt ("name=dir|dir...") and
# runs each target.
function(plyvane_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;CORPUS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(folders "")
    foreach(folder IN LISTS ARG_CORPUS)
        cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE)
        list(APPEND folders ${folder})
    endforeach()
    list(JOIN folders "|" corpus)
    set_property(GLOBAL APPEND PROPERTY PLYVANE_FUZZ_TARGETS "${name}=${corpus}")
endfunction()

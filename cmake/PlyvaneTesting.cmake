# Test helpers shared by every folder.
enable_testing()
find_package(GTest REQUIRED)

# plyvane_add_gtest(name SOURCES a.cpp ... LIBS lib ...)
function(plyvane_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        PLYVANE_SHARED_DIR="${PLYVANE_SHARED_DIR}"
        PLYVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_test(NAME ${name} COMMAND ${name})
endfunction()

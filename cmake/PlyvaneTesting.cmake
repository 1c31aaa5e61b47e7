# Test helpers shared by every folder.
enable_testing()

# GoogleTest: Debian's build natively; for MinGW, built here from the source
# the googletest package installs.
if(CMAKE_CROSSCOMPILING)
    set(PLYVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # GoogleTest uses Win32 threads on Windows; pthreads are not wanted.
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(${PLYVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest REQUIRED)
endif()

# plyvane_runtime_path(OUT PATH): PATH as the test program sees it. Windows
# builds run under Wine, which maps the Unix root to drive Z:.
function(plyvane_runtime_path out path)
    cmake_path(ABSOLUTE_PATH path NORMALIZE)
    if(CMAKE_CROSSCOMPILING AND WIN32)
        set(path "Z:${path}")
    endif()
    set(${out} "${path}" PARENT_SCOPE)
endfunction()

plyvane_runtime_path(PLYVANE_SHARED_RUNTIME_DIR "${PLYVANE_SHARED_DIR}")
plyvane_runtime_path(PLYVANE_SOURCE_RUNTIME_DIR "${CMAKE_SOURCE_DIR}")
plyvane_runtime_path(PLYVANE_TEST_RESULTS_DIR "${CMAKE_BINARY_DIR}/test-results")

# plyvane_add_gtest(name SOURCES a.cpp ... LIBS lib ...)
# One CTest entry per test program (no discovery: that would run Wine at build
# time); each writes its cases to test-results/<name>.xml for scripts/test.
function(plyvane_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        PLYVANE_SHARED_DIR="${PLYVANE_SHARED_RUNTIME_DIR}"
        PLYVANE_SOURCE_DIR="${PLYVANE_SOURCE_RUNTIME_DIR}")
    add_test(NAME ${name}
        COMMAND ${name} --gtest_output=xml:${PLYVANE_TEST_RESULTS_DIR}/${name}.xml)
endfunction()

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

# A window test of the Windows build, under Wine and Xvfb: its sources with
# the window driver, the UI thread and every resource of the program.
# Screenshots go to test-results/gui/. The window tests share the registry
# of the prefix, so they run one at a time, after Wine is told to draw the
# window frames.
function(plyvane_add_window_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    plyvane_runtime_path(gui_dir "${CMAKE_BINARY_DIR}/test-results/gui")
    string(REPLACE "/" "\\\\" gui_dir "${gui_dir}")
    plyvane_add_gtest(${name}
        SOURCES
            ${ARG_SOURCES}
            ${CMAKE_SOURCE_DIR}/settings/tests/ui_thread.cpp
            ${CMAKE_SOURCE_DIR}/player/tests/window_driver.cpp
            $<TARGET_OBJECTS:plyvane_resources>
        LIBS ${ARG_LIBS} shell32 winmm version)
    target_include_directories(${name} PRIVATE
        ${CMAKE_SOURCE_DIR}/settings/tests ${CMAKE_SOURCE_DIR}/player/tests)
    target_compile_definitions(${name} PRIVATE PLYVANE_PLAYER_EXE="" PLYVANE_GUI_DIR="${gui_dir}")
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-results/gui)
    set_tests_properties(${name} PROPERTIES
        RUN_SERIAL TRUE TIMEOUT 300 FIXTURES_REQUIRED wine_window_frames)
endfunction()

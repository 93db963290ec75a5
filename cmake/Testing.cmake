# Test and benchmark registration:
#   qc_add_gtest(<target> [SOURCES <src...>] [LIBRARIES <lib...>] [NEEDS_DISPLAY]
#                [LABELS <label...>] [TIMEOUT <seconds>])
#   qc_add_pe_check(NAME <name> FILE <path|genex> MACHINE <i386|amd64> EXPORTS <name...>
#                   [EXACT_EXPORTS] [RESOURCES <type:name...>])
#   qc_add_benchmark(<target> SOURCES <src...> [LIBRARIES <lib...>])
#   qc_wine_skippable(<test...>)   for tests run by cmake/wine-run.sh outside qc_add_gtest
#   qc_add_program_test(NAME <name> COMMAND <target> [<arg...>] [LABELS <label...>]
#                       [PROCESSORS <n>])

include(GoogleTest)

set(QC_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")

if(QC_BUILD_TESTS)
    if(NOT EXISTS ${QC_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${QC_GOOGLETEST_SOURCE_DIR}; "
                            "run 'make deps' (Debian package googletest)")
    endif()
    # Built from source in every tree so it shares the compiler, sanitizer flags and static
    # runtime of the code under test; the prebuilt Debian libraries fit only the plain native
    # build.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${QC_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest
                     EXCLUDE_FROM_ALL SYSTEM)
endif()

if(QC_BUILD_BENCHMARKS)
    find_package(benchmark REQUIRED)
endif()

# Starts one Xvfb for all tests that need a display, on first use.
function(_qc_ensure_display_fixture)
    get_property(done GLOBAL PROPERTY _QC_DISPLAY_FIXTURE)
    if(done)
        return()
    endif()
    set_property(GLOBAL PROPERTY _QC_DISPLAY_FIXTURE ON)
    add_test(NAME QcDisplayStart
             COMMAND ${PROJECT_SOURCE_DIR}/cmake/xvfb.sh start ${QC_XVFB_STATE_DIR})
    add_test(NAME QcDisplayStop
             COMMAND ${PROJECT_SOURCE_DIR}/cmake/xvfb.sh stop ${QC_XVFB_STATE_DIR})
    set_tests_properties(QcDisplayStart PROPERTIES FIXTURES_SETUP qc_display LABELS fixture)
    set_tests_properties(QcDisplayStop PROPERTIES FIXTURES_CLEANUP qc_display LABELS fixture)
endfunction()

# Creates the Wine prefix once before, and stops its wineserver after, the Wine-run tests. The
# server would otherwise linger for a while after the last test and hold on to the prefix.
function(_qc_ensure_wine_fixture)
    get_property(done GLOBAL PROPERTY _QC_WINE_FIXTURE)
    if(done)
        return()
    endif()
    set_property(GLOBAL PROPERTY _QC_WINE_FIXTURE ON)
    # Wine's desktop process starts with the prefix and serves every later window, so it must
    # see the display from the start: GUI tests fail to create windows on a desktop that began
    # without one, whichever test happened to start Wine first.
    _qc_ensure_display_fixture()
    add_executable(qc_wine_probe ${PROJECT_SOURCE_DIR}/tests/wine/Probe.cpp)
    qc_apply_options(qc_wine_probe)
    add_test(NAME QcWineStart
             COMMAND ${QC_WINE_RUN} --display-file ${QC_XVFB_STATE_DIR}/display
                     --init $<TARGET_FILE:qc_wine_probe>)
    add_test(NAME QcWineStop COMMAND ${QC_WINE_RUN} --shutdown)
    set_tests_properties(QcWineStart PROPERTIES FIXTURES_SETUP qc_wine FIXTURES_REQUIRED qc_display
                                                LABELS fixture TIMEOUT 300)
    set_tests_properties(QcWineStop PROPERTIES FIXTURES_CLEANUP qc_wine FIXTURES_REQUIRED qc_display
                                               LABELS fixture)
    qc_wine_skippable(QcWineStart)
endfunction()

# Tests run under 32-bit Wine report themselves skipped (exit status 77, with the reason in
# their output) where the machine cannot run 32-bit programs; x64 ones have no such excuse.
function(qc_wine_skippable)
    if(QC_WINE_ARCH STREQUAL "win32")
        set_tests_properties(${ARGV} PROPERTIES SKIP_RETURN_CODE 77)
    endif()
endfunction()

function(qc_add_gtest target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "NEEDS_DISPLAY" "TIMEOUT" "SOURCES;LIBRARIES;LABELS")
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "qc_add_gtest(${target}): unexpected arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT QC_BUILD_TESTS)
        return()
    endif()
    if(NOT TARGET ${target})
        if(NOT ARG_SOURCES)
            message(FATAL_ERROR "qc_add_gtest(${target}): no such target and no SOURCES given")
        endif()
        add_executable(${target})
    endif()
    if(ARG_SOURCES)
        target_sources(${target} PRIVATE ${ARG_SOURCES})
    endif()
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gmock GTest::gtest_main)
    qc_apply_options(${target})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()

    set(fixtures "")
    if(ARG_NEEDS_DISPLAY)
        _qc_ensure_display_fixture()
        list(APPEND fixtures qc_display)
    endif()

    if(QC_WINDOWS)
        # One ctest entry per executable: each Wine start costs far more than a test case,
        # and the suite prints every case's result in the log anyway.
        # Every Wine test runs while the display is up (see the Wine fixture).
        _qc_ensure_wine_fixture()
        list(APPEND fixtures qc_wine qc_display)
        if(ARG_NEEDS_DISPLAY)
            set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
                "${QC_WINE_RUN};--display-file;${QC_XVFB_STATE_DIR}/display;--")
        endif()
        add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
        if(ARG_NEEDS_DISPLAY)
            # GUI suites share the screen, the pointer and the focus: one at a time.
            set_tests_properties(${target} PROPERTIES RESOURCE_LOCK qc_screen)
        endif()
        set_tests_properties(${target} PROPERTIES
            FIXTURES_REQUIRED "${fixtures}"
            LABELS "${ARG_LABELS}"
            TIMEOUT ${ARG_TIMEOUT})
        qc_wine_skippable(${target})
    else()
        set(properties TIMEOUT ${ARG_TIMEOUT})
        if(QC_TEST_ENVIRONMENT)
            list(APPEND properties ENVIRONMENT "${QC_TEST_ENVIRONMENT}")
        endif()
        if(ARG_NEEDS_DISPLAY)
            # The display number is only known once the fixture has started Xvfb, so the test
            # reads it from the fixture's state file when it starts.
            set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
                "${PROJECT_SOURCE_DIR}/cmake/with-display.sh;${QC_XVFB_STATE_DIR}/display;--")
            # The cases share the screen and the pointer with every other GUI suite: one at a
            # time.
            list(APPEND properties FIXTURES_REQUIRED qc_display RESOURCE_LOCK qc_screen)
        endif()
        gtest_discover_tests(${target}
            DISCOVERY_MODE PRE_TEST
            DISCOVERY_TIMEOUT 60
            PROPERTIES ${properties})
        if(ARG_LABELS)
            # The discovery script flattens property values, so a list of labels would lose
            # all but its first entry; they are set on the discovered tests afterwards instead.
            set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
            file(WRITE ${script}
                "if(${target}_TESTS)\n"
                "    set_tests_properties(\${${target}_TESTS} PROPERTIES LABELS \"${ARG_LABELS}\")\n"
                "endif()\n")
            set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
        endif()
    endif()
endfunction()

# objdump reads the DLL for cmake/pecheck.py; nothing runs it, so the 32-bit DLL is checked
# even where Wine cannot run 32-bit code.
function(qc_add_pe_check)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "EXACT_EXPORTS" "NAME;FILE;MACHINE" "EXPORTS;RESOURCES")
    if(ARG_UNPARSED_ARGUMENTS OR NOT ARG_NAME OR NOT ARG_FILE OR NOT ARG_MACHINE)
        message(FATAL_ERROR "qc_add_pe_check needs NAME, FILE and MACHINE")
    endif()
    if(NOT ARG_MACHINE MATCHES "^(i386|amd64)$")
        message(FATAL_ERROR "qc_add_pe_check(${ARG_NAME}): MACHINE must be i386 or amd64")
    endif()
    set(args ${ARG_FILE} --list --machine ${ARG_MACHINE} --system-imports-only)
    if(ARG_EXPORTS)
        list(JOIN ARG_EXPORTS "," exports)
        list(APPEND args --exports ${exports})
    endif()
    if(ARG_EXACT_EXPORTS)
        list(APPEND args --exact-exports)
    endif()
    foreach(resource IN LISTS ARG_RESOURCES)
        list(APPEND args --resource ${resource})
    endforeach()
    add_test(NAME ${ARG_NAME} COMMAND ${PROJECT_SOURCE_DIR}/cmake/pecheck.py ${args})
    set_tests_properties(${ARG_NAME} PROPERTIES LABELS "static;pecheck" TIMEOUT 60)
endfunction()

function(qc_add_benchmark target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBRARIES")
    if(ARG_UNPARSED_ARGUMENTS OR NOT ARG_SOURCES)
        message(FATAL_ERROR "qc_add_benchmark(${target}) needs SOURCES")
    endif()
    if(NOT QC_BUILD_BENCHMARKS)
        return()
    endif()
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} benchmark::benchmark_main)
    qc_apply_options(${target})
    # 'make bench' runs whatever lands in this one folder.
    set_target_properties(${target} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY "$<1:${CMAKE_BINARY_DIR}/benchmarks>")
endfunction()

# A plain test program given by its target, which fails by its exit status. It runs wherever
# the tree's programs run: natively, or through the tree's emulator (Wine) after the Wine
# fixture. No TIMEOUT is set, so the caller's --timeout decides: the stress runs take longer.
function(qc_add_program_test)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "NAME;PROCESSORS" "COMMAND;LABELS")
    if(ARG_UNPARSED_ARGUMENTS OR NOT ARG_NAME OR NOT ARG_COMMAND)
        message(FATAL_ERROR "qc_add_program_test needs NAME and COMMAND")
    endif()
    if(NOT QC_BUILD_TESTS)
        return()
    endif()
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
    if(ARG_LABELS)
        set_tests_properties(${ARG_NAME} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
    if(ARG_PROCESSORS)
        # Tells ctest -j how many cores the test keeps busy, so it is not overcommitted.
        set_tests_properties(${ARG_NAME} PROPERTIES PROCESSORS ${ARG_PROCESSORS})
    endif()
    if(QC_TEST_ENVIRONMENT)
        set_tests_properties(${ARG_NAME} PROPERTIES ENVIRONMENT "${QC_TEST_ENVIRONMENT}")
    endif()
    if(QC_WINDOWS)
        _qc_ensure_wine_fixture()
        set_tests_properties(${ARG_NAME} PROPERTIES FIXTURES_REQUIRED "qc_wine;qc_display")
        qc_wine_skippable(${ARG_NAME})
    endif()
endfunction()

# One test per case that '<name>.py --list' names, run as '<name>.py ARGS... CASE', with the
# given labels and timeout (seconds).
function(qc_add_script_cases name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TIMEOUT" "LABELS;ARGS")
    set(script ${CMAKE_CURRENT_SOURCE_DIR}/${name}.py)
    execute_process(COMMAND ${script} --list OUTPUT_VARIABLE cases COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
    string(STRIP "${cases}" cases)
    string(REPLACE "\n" ";" cases "${cases}")
    foreach(case IN LISTS cases)
        add_test(NAME ${name}.${case} COMMAND ${script} ${ARG_ARGS} ${case})
        set_tests_properties(${name}.${case} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT})
    endforeach()
endfunction()

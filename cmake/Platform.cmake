# Works out which deliverable this tree builds from the toolchain, and which kinds of checks
# can run on this machine for it.

if(WIN32)
    set(QC_WINDOWS TRUE)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(QC_TARGET windows-x64)
    elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(QC_TARGET windows-x86)
    else()
        message(FATAL_ERROR "Unsupported Windows pointer size: ${CMAKE_SIZEOF_VOID_P}")
    endif()
    # Resource scripts carry the editor's dialogs and bitmaps.
    enable_language(RC)
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QC_WINDOWS FALSE)
    set(QC_TARGET linux-x64)
else()
    message(FATAL_ERROR "Unsupported target: ${CMAKE_SYSTEM_NAME} with ${CMAKE_SIZEOF_VOID_P}-byte pointers")
endif()
message(STATUS "Quellin Corvane target: ${QC_TARGET}")

enable_testing()

# GoogleTest suites need to execute the built code: natively, or under Wine for the Windows
# trees (wine64 for x64, Wine's 32-bit loader for x86).
option(QC_BUILD_TESTS "Build and register the GoogleTest suites" ON)

if(QC_TARGET STREQUAL "linux-x64")
    option(QC_BUILD_BENCHMARKS "Build the Google Benchmark executables" ON)
else()
    set(QC_BUILD_BENCHMARKS OFF)
endif()

# The sanitizer and fuzzing trees' binaries need their runtimes, so they stay in those trees
# instead of replacing the shipped ones in dist/.
if(QC_SANITIZE OR QC_SANITIZE_THREAD OR QC_FUZZ)
    set(QC_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
else()
    set(QC_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
endif()

set(QC_XVFB_STATE_DIR ${CMAKE_BINARY_DIR}/xvfb)
if(QC_WINDOWS)
    # Every Wine run shares one prefix private to this build tree, so tests never touch
    # ~/.wine and a fresh clone needs no setup. Tests that need a display get it from the Xvfb
    # fixture through a per-target emulator (see qc_add_gtest); all others run without one.
    # The 32-bit tree's prefix is a 32-bit one: its programs run where the machine can run
    # 32-bit code at all, and are reported as skipped elsewhere (see cmake/wine-run.sh).
    if(QC_TARGET STREQUAL "windows-x86")
        set(QC_WINE_ARCH win32)
    else()
        set(QC_WINE_ARCH win64)
    endif()
    set(QC_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(QC_WINE_RUN ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh --arch ${QC_WINE_ARCH}
                    --prefix ${QC_WINE_PREFIX})
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QC_WINE_RUN} --)
endif()

# Build settings every first-party target gets through qc_apply_options(<target>).

option(QC_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QC_SANITIZE_THREAD "Build everything with ThreadSanitizer" OFF)
option(QC_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
option(QC_FUZZ "Build the libFuzzer targets (clang), everything with ASan and UBSan" OFF)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
endif()

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

if(QC_SANITIZE)
    if(QC_WINDOWS)
        message(FATAL_ERROR "QC_SANITIZE is only supported for the native Linux build")
    endif()
    # Directory-wide rather than per target, so GoogleTest and every static library are
    # instrumented too; a half-instrumented binary misses errors in the uninstrumented half.
    set(QC_SANITIZER_FLAGS
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${QC_SANITIZER_FLAGS})
    add_link_options(${QC_SANITIZER_FLAGS})
    # GCC's flow analysis reports uninitialised reads inside the standard library (std::regex,
    # std::function) that only the instrumentation makes it see; the plain build keeps the check.
    add_compile_options(-Wno-maybe-uninitialized)
    # What every test of the tree runs with: the leaks listed there are explained in the file.
    set(QC_TEST_ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp")
endif()

if(QC_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QC_FUZZ needs clang (libFuzzer); use the linux-x64-fuzz preset")
    endif()
    # Coverage for the fuzzer in every library, its driver only in the fuzz targets.
    set(QC_SANITIZER_FLAGS
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(-fsanitize=fuzzer-no-link ${QC_SANITIZER_FLAGS})
    add_link_options(${QC_SANITIZER_FLAGS})
endif()

if(QC_SANITIZE_THREAD)
    if(QC_WINDOWS OR QC_SANITIZE)
        message(FATAL_ERROR "QC_SANITIZE_THREAD needs the native Linux build without QC_SANITIZE")
    endif()
    # Directory-wide for the same reason as above: a race is only seen when both of its
    # accesses are instrumented, and the host side of every test is half of each pair.
    set(QC_SANITIZER_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
    add_compile_options(${QC_SANITIZER_FLAGS})
    add_link_options(${QC_SANITIZER_FLAGS})
    add_compile_options(-Wno-maybe-uninitialized)
    # Reports fail a test through the exit status; the suppressions file lists, with its
    # reason, each report that is understood and harmless.
    set(QC_TEST_ENVIRONMENT "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/tsan.supp:\
second_deadlock_stack=1:exitcode=66")
endif()

function(qc_apply_options target)
    target_compile_features(${target} PUBLIC cxx_std_17)
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)

    # Resource scripts go through windres, which must not see compiler flags.
    set(lang "$<COMPILE_LANGUAGE:C,CXX>")
    target_compile_options(${target} PRIVATE
        "$<${lang}:-Wall;-Wextra;-Wshadow;-Wnon-virtual-dtor;-Wcast-qual;-Wformat=2>"
        # Fused multiply-add changes rounding, and the x86 and x64 builds must produce the
        # same samples; contraction also varies with optimisation level.
        "$<${lang}:-ffp-contract=off>")
    if(QC_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE "$<${lang}:-Werror>")
    endif()

    if(QC_WINDOWS)
        # A plug-in is dropped into a host's folder on its own; it cannot rely on the MinGW
        # runtime DLLs being found next to it.
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
            target_link_options(${target} PRIVATE -static)
        endif()
    endif()
endfunction()

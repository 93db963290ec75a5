# qc_add_plugin(<target> OUTPUT_NAME <name> OUTPUT_DIR <dir> SOURCES <src...>
#               [LIBRARIES <lib...>] [RESOURCES <file.rc...>] [CHECK_RESOURCES <type:name...>])
#
# A loadable VST 2.x plug-in: <dir>/<name>.dll on Windows, <dir>/<name>.so on Linux, exporting
# exactly VSTPluginMain and main. The entry point is not added implicitly; pass
# $<TARGET_OBJECTS:vst_entry> (or another entry) in SOURCES.
#
# On Windows every plug-in also gets a ctest "pecheck.<target>" that inspects the DLL: machine,
# exactly those two exports, system DLL imports only, and each CHECK_RESOURCES entry present;
# and a ctest "reproducible.<target>": no link time in the header, no build paths inside.
function(qc_add_plugin target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "OUTPUT_NAME;OUTPUT_DIR"
                          "SOURCES;LIBRARIES;RESOURCES;CHECK_RESOURCES")
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "qc_add_plugin(${target}): unexpected arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT ARG_OUTPUT_NAME OR NOT ARG_OUTPUT_DIR OR NOT ARG_SOURCES)
        message(FATAL_ERROR "qc_add_plugin(${target}) needs OUTPUT_NAME, OUTPUT_DIR and SOURCES")
    endif()
    if(ARG_RESOURCES AND NOT QC_WINDOWS)
        set(ARG_RESOURCES "")
    endif()

    # MODULE: hosts load it at run time and nothing links against it, so no import library.
    add_library(${target} MODULE ${ARG_SOURCES} ${ARG_RESOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES})
    qc_apply_options(${target})
    # The $<1:...> keeps multi-config generators from appending a per-configuration folder;
    # the deliverable paths are fixed.
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME ${ARG_OUTPUT_NAME}
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY "$<1:${ARG_OUTPUT_DIR}>"
        RUNTIME_OUTPUT_DIRECTORY "$<1:${ARG_OUTPUT_DIR}>"
        CXX_VISIBILITY_PRESET hidden
        C_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)

    if(QC_WINDOWS)
        set_target_properties(${target} PROPERTIES SUFFIX ".dll")
        # The PE header's link time would make every build of the same sources differ.
        target_link_options(${target} PRIVATE "LINKER:--no-insert-timestamp")
        # A module definition file also turns off MinGW's export-everything fallback.
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/vst/exports.def)
        if(ARG_RESOURCES)
            # windres resolves #include and file references relative to these folders.
            target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources
                                                         ${CMAKE_CURRENT_SOURCE_DIR})
        endif()
        if(QC_TARGET STREQUAL "windows-x86")
            set(machine i386)
        else()
            set(machine amd64)
        endif()
        qc_add_pe_check(NAME pecheck.${target}
            FILE $<TARGET_FILE:${target}>
            MACHINE ${machine}
            EXPORTS VSTPluginMain main
            EXACT_EXPORTS
            RESOURCES ${ARG_CHECK_RESOURCES})
        add_test(NAME reproducible.${target}
                 COMMAND ${PROJECT_SOURCE_DIR}/cmake/check-reproducible.sh $<TARGET_FILE:${target}>
                         ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR})
        set_tests_properties(reproducible.${target} PROPERTIES LABELS "static;reproducible" TIMEOUT 60)
    else()
        set(map ${PROJECT_SOURCE_DIR}/vst/exports.map)
        set_target_properties(${target} PROPERTIES SUFFIX ".so" LINK_DEPENDS ${map})
        target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
        if(NOT QC_SANITIZE AND NOT QC_SANITIZE_THREAD AND NOT QC_FUZZ)
            # An unresolved symbol should fail the build, not the host's dlopen. The sanitizer
            # runtime is resolved at load time, so this cannot apply there.
            target_link_options(${target} PRIVATE "LINKER:-z,defs")
        endif()
    endif()
endfunction()

# Cross build for 32-bit Windows with MinGW-w64 (posix thread model, so std::thread works).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)

set(QC_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QC_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QC_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QC_MINGW_PREFIX}-windres)
set(CMAKE_AR ${QC_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${QC_MINGW_PREFIX}-ranlib CACHE FILEPATH "")

# x87 arithmetic keeps 80-bit intermediates, so results would differ from the x64 build and
# depend on register spills; SSE2 rounds every float operation the same way x64 does.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

set(CMAKE_FIND_ROOT_PATH /usr/${QC_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

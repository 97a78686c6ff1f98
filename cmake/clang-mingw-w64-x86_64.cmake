# Cross build for 64-bit Windows with clang, on MinGW-w64's headers and import libraries and
# the C++ library of the MinGW-w64 GCC (posix threads); linked by lld, tests run under Wine.
# A second compiler for the same target catches code that only GCC accepts.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

# Clang finds the MinGW-w64 headers by itself but not GCC's C++ library: it looks for GCC in
# folders named by version number, and Debian names them "12-posix" and "12-win32". So the
# C++ headers and the folder of libstdc++ and libgcc are given here, taken from the MinGW
# GCC that the other Windows preset uses. -pthread links winpthread, which the posix
# libstdc++ needs (GCC's posix driver adds it by itself). Links also see the compile flags,
# where -nostdinc++ has nothing to do; clang would say so at every link.
execute_process(COMMAND ${TOOLCHAIN_PREFIX}-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE phasebox_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE phasebox_gcc_result)
if(NOT phasebox_gcc_result EQUAL 0 OR NOT EXISTS "${phasebox_libgcc}")
  message(FATAL_ERROR "${TOOLCHAIN_PREFIX}-g++-posix was not found: it provides the C++ library "
                      "for clang (Debian package g++-mingw-w64-x86-64-posix)")
endif()
get_filename_component(phasebox_gcc_dir "${phasebox_libgcc}" DIRECTORY)
set(phasebox_cxx_headers "${phasebox_gcc_dir}/include/c++")
set(CMAKE_CXX_FLAGS_INIT
    "-nostdinc++ -isystem ${phasebox_cxx_headers} -isystem ${phasebox_cxx_headers}/${TOOLCHAIN_PREFIX} -isystem ${phasebox_cxx_headers}/backward")
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-fuse-ld=lld -pthread -L${phasebox_gcc_dir} -Wno-unused-command-line-argument")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine-run)

# Cross-compiling for 64-bit Windows with clang and lld, on Debian's MinGW-w64
# headers and libraries and the libstdc++ of its posix-thread MinGW-w64 g++.
# A second compiler next to g++ keeps the code from relying on GCC's quirks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
# Keeps the host's /usr/include out of the search path.
set(CMAKE_SYSROOT /usr/${TOOLCHAIN_PREFIX})

# clang 14 skips GCC folders named like "12-posix", so it finds neither the C++
# headers nor crtbegin.o and libgcc by itself; they are named here.
file(GLOB GCC_RUNTIME_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix)
if(NOT GCC_RUNTIME_DIRS)
    message(FATAL_ERROR "No /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix: g++-mingw-w64-x86-64-posix is missing")
endif()
list(SORT GCC_RUNTIME_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET GCC_RUNTIME_DIRS 0 GCC_RUNTIME_DIR)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${GCC_RUNTIME_DIR}/include/c++
    ${GCC_RUNTIME_DIR}/include/c++/${TOOLCHAIN_PREFIX} ${GCC_RUNTIME_DIR}/include/c++/backward)
# -pthread: this libstdc++ and libgcc_eh are built on winpthreads.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -B${GCC_RUNTIME_DIR} -L${GCC_RUNTIME_DIR} -pthread")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

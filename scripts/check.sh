#!/usr/bin/env bash
# Quick checks that the tests leave out: every C/C++ file git tracks is
# formatted as .clang-format says, and clang builds and links Horlomat with
# the same warnings as errors as g++, so the code does not drift into
# GCC-only territory.
source "$(dirname "$0")/common.sh"

ensure_packages

log "Checking the formatting"
(cd "$ROOT" && git ls-files -z -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' | xargs -0 -r clang-format --dry-run --Werror)

log "Building Horlomat with clang in $BUILD/clang"
cmake -S "$ROOT" -B "$BUILD/clang" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/clang-mingw-w64-x86_64.cmake" \
    -DHORLOMAT_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD/clang" --target Horlomat -j"$(nproc)"

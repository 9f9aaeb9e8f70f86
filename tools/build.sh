#!/usr/bin/env bash
# Builds both: build/native (core, POSIX layer, tests) and build/win (the
# Windows program, its tests and tools, cross-built with mingw-w64).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake \
      -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build build/win -j "$jobs"

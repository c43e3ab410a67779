#!/usr/bin/env bash
# Builds everything in Debug with AddressSanitizer and UBSan (build/asan) and runs every test:
# any report fails the test that caused it. Extra arguments go to ctest (e.g. -R pattern).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/dipendenze.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DWAVELORE_SANITIZE=ON -DWAVELORE_WERROR=ON >/dev/null
cmake --build build/asan -j"$(nproc)"
cd build/asan
ctest --output-on-failure -j"$(nproc)" "$@"

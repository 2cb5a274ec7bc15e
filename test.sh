#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the tests.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DVORSAL_TESTS=ON >/dev/null
cmake --build build -j"$(nproc)"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"

# The fuzzing harnesses, built with clang in a folder of their own, each run
# once over its corpus so every case once found stays fixed.
cd ..
scripts/deps.sh --fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORSAL_FUZZ=ON -DVORSAL_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz-texto fuzz-xlsx fuzz-xls fuzz-resposta
cd build-fuzz
ctest --output-on-failure -j"$(nproc)"

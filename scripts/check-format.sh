#!/usr/bin/env bash
# Fails when a C++ source differs from .clang-format or breaks the naming rules of .clang-tidy
# (scripts/check-names.sh); with --fix, formats them in place first (names are mended by hand).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || exit 0
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run --Werror "${files[@]}"
fi
scripts/check-names.sh

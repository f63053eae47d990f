#!/usr/bin/env bash
# Fails when a C++ source of the tree differs from .clang-format (Debian's clang-format 14).
# Reformat with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

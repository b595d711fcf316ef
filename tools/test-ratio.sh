#!/usr/bin/env bash
# Lines of test code against lines of product code: non-blank lines that are not whole-line comments, in
# the C++ files of tests/ and of the product's folders. Tools, fuzzers and benchmarks count as neither.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | grep -v '^\s*$' | grep -cv '^\s*//'
}
tests=$(count tests)
product=$(count app windows browser childproc services skin res)
awk -v t="$tests" -v p="$product" 'BEGIN { printf "tests %d, product %d, ratio %.2f\n", t, p, t / p }'

#!/usr/bin/env bash
# Each GoogleTest suite lives in one test file. ctest names a case
# Suite.Case whichever program it comes from, so a suite spread over two
# programs mixes their cases in every listing and filter (ctest -R Search.)
# and lets a case of one hide a case of the same name in the other.
# Usage: check_suite_names.sh TESTS_DIR
set -u
dir="${1:?usage: check_suite_names.sh TESTS_DIR}"
[ -d "$dir" ] || { echo "FAIL: no directory $dir"; exit 1; }
pairs=$(find "$dir" -name '*.cpp' -print0 | sort -z | xargs -0 grep -H -o -E \
    '^[[:space:]]*(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)\([[:space:]]*[A-Za-z_][A-Za-z_0-9]*' |
    sed -E 's/^([^:]*):[[:space:]]*[A-Z_]+\([[:space:]]*(.*)$/\2 \1/' | sort -u)
[ -n "$pairs" ] || { echo "FAIL: no test suites found under $dir"; exit 1; }
clash=$(printf '%s\n' "$pairs" | awk '{ files[$1] = files[$1] " " $2; n[$1]++ } END { for (s in n) if (n[s] > 1) print s ":" files[s] }' |
    sed "s|$dir/||g" | sort)
if [ -n "$clash" ]; then
    echo "FAIL: suites defined in more than one file:"
    printf '  %s\n' "$clash"
    exit 1
fi
echo "ok ($(printf '%s\n' "$pairs" | wc -l) suites, each in one file)"

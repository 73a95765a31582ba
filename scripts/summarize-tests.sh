#!/usr/bin/env bash
# Adds up the test cases of the last CTest run in each build folder given, from the XML each
# test executable wrote; a test program that failed without reporting a failed case (a crash,
# a sanitizer report at exit) counts as one failed case. Prints "N passed, N failed".
set -uo pipefail
passed=0 failed=0 skipped=0

attr() { sed -n "s/.*<testsuites[^>]* $1=\"\([0-9]*\)\".*/\1/p" "$2" | head -n 1; }

for build in "$@"; do
  failed_log=$build/Testing/Temporary/LastTestsFailed.log
  while read -r name; do
    xml=$build/test-results/$name.xml
    program_failed=0
    [[ -f $failed_log ]] && grep -q ":$name\$" "$failed_log" && program_failed=1
    if [[ ! -f $xml ]]; then
      echo "  $name: no results (the program did not finish)"
      ((failed += 1))
      continue
    fi
    tests=$(attr tests "$xml") failures=$(attr failures "$xml") disabled=$(attr disabled "$xml")
    errors=$(attr errors "$xml")
    skips=$(grep -c 'result="skipped"' "$xml")
    ((failed += failures + errors, skipped += skips, passed += tests - failures - errors - disabled - skips))
    if ((program_failed && failures + errors == 0)); then
      echo "  $name: the program failed after its cases passed"
      ((failed += 1))
    fi
  done < <(ctest --test-dir "$build" -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: \(.*\)$/\1/p')
done

if ((skipped)); then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
((failed == 0 && passed > 0))

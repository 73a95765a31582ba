#!/usr/bin/env bash
# Adds up the test cases of the last CTest run in each build folder given, from the XML each
# test executable wrote; a test program that failed without reporting a failed case (a crash,
# a sanitizer report at exit) counts as one failed case, and a test that reports no cases (a
# script) as one case, passed or failed as CTest saw it. Prints "N passed, N failed".
#   summarize-tests.sh BUILD... [--skipped BUILD --like BUILD]
# --skipped counts every test of a build that could not run as skipped: as many cases as the
# same test program reported in the --like build (the same tests in another width), else one.
set -uo pipefail
passed=0 failed=0 skipped=0

attr() { sed -n "s/.*<testsuites[^>]* $1=\"\([0-9]*\)\".*/\1/p" "$2" | head -n 1; }
test_names() { ctest --test-dir "$1" -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: \(.*\)$/\1/p'; }

builds=() skipped_build= like_build=
while (($#)); do
  case $1 in
    --skipped) skipped_build=$2; shift 2 ;;
    --like) like_build=$2; shift 2 ;;
    *) builds+=("$1"); shift ;;
  esac
done

if [[ -n $skipped_build ]]; then
  while read -r name; do
    xml=$like_build/test-results/$name.xml
    cases=1
    [[ -n $like_build && -f $xml ]] && cases=$(attr tests "$xml")
    ((skipped += cases))
  done < <(test_names "$skipped_build")
fi

for build in "${builds[@]}"; do
  failed_log=$build/Testing/Temporary/LastTestsFailed.log
  while read -r name; do
    xml=$build/test-results/$name.xml
    program_failed=0
    [[ -f $failed_log ]] && grep -q ":$name\$" "$failed_log" && program_failed=1
    if [[ ! -f $xml ]]; then
      if ((program_failed)); then
        echo "  $name: failed without reporting its cases"
        ((failed += 1))
      else
        ((passed += 1))
      fi
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
  done < <(test_names "$build")
done

if ((skipped)); then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
((failed == 0 && passed > 0))

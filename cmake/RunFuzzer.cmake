# Runs one fuzz target (cmake -P, from the target's test or scripts/fuzz.sh) and writes its
# verdict as a one-case test result in the GoogleTest XML form that the test summary reads.
#   -D FUZZER=program -D CORPUS=committed corpus -D WORK=scratch folder -D RESULT=xml file
#   -D SECONDS=default run time
# Environment: FUZZ_SECONDS overrides the run time; FUZZ_MERGE=1 afterwards merges the new
# inputs that add coverage into the committed corpus.
# New inputs go to WORK/corpus, the failing input of this run to WORK/crashes/.
if(DEFINED ENV{FUZZ_SECONDS})
  set(SECONDS $ENV{FUZZ_SECONDS})
endif()
get_filename_component(name ${FUZZER} NAME)
file(REMOVE_RECURSE ${WORK}/crashes)
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/crashes)
get_filename_component(result_dir ${RESULT} DIRECTORY)
file(MAKE_DIRECTORY ${result_dir})

execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -artifact_prefix=${WORK}/crashes/
          -print_final_stats=1 ${WORK}/corpus ${CORPUS}
  RESULT_VARIABLE status)

set(failure "")
if(NOT status EQUAL 0)
  file(GLOB crashes LIST_DIRECTORIES false ${WORK}/crashes/*)
  set(failure "<failure message=\"${name} failed (${status}); inputs that fail: ${crashes}\"/>")
elseif("$ENV{FUZZ_MERGE}" STREQUAL "1")
  execute_process(COMMAND ${FUZZER} -merge=1 ${CORPUS} ${WORK}/corpus RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(WARNING "${name}: the merge into ${CORPUS} failed (${status})")
  endif()
endif()

set(failures 0)
if(failure)
  set(failures 1)
endif()
file(WRITE ${RESULT} "<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<testsuites tests=\"1\" failures=\"${failures}\" disabled=\"0\" errors=\"0\" name=\"AllTests\">
  <testsuite name=\"${name}\" tests=\"1\" failures=\"${failures}\" disabled=\"0\" errors=\"0\">
    <testcase name=\"Runs${SECONDS}Seconds\" status=\"run\" result=\"completed\" classname=\"${name}\">${failure}</testcase>
  </testsuite>
</testsuites>
")
if(failure)
  message(FATAL_ERROR "${name}: a failing input was found; see ${WORK}/crashes")
endif()

# libFuzzer targets (clang, under AddressSanitizer and UBSan), built only in the fuzz preset.
# Each target is also a test that runs it for a few seconds over its committed corpus and
# writes a one-case result in the unit tests' XML form, so the test summary counts it.
option(BUILD_FUZZERS "Build the libFuzzer targets and run each briefly as a test (clang)" OFF)
set(FUZZ_SECONDS 4 CACHE STRING "How long each fuzz target runs as a test")

if(BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "BUILD_FUZZERS needs clang (libFuzzer): use the fuzz preset")
  endif()
  # Coverage feedback from every library the targets call, not only from the targets.
  add_compile_options(-fsanitize=fuzzer-no-link)
  add_custom_target(fuzzers)
endif()

# add_project_fuzzer(NAME SOURCES... [LIBRARIES libs...]): the program NAME_fuzz, its corpus
# in the component's fuzz/corpus/NAME/, and the test NAME_fuzz.
function(add_project_fuzzer name)
  if(NOT BUILD_FUZZERS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  set(target ${name}_fuzz)
  add_executable(${target} ${ARG_UNPARSED_ARGUMENTS} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${target})
  add_test(NAME ${target}
    COMMAND ${CMAKE_COMMAND}
      -D FUZZER=$<TARGET_FILE:${target}>
      -D CORPUS=${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${name}
      -D WORK=${CMAKE_BINARY_DIR}/fuzz-work/${name}
      -D RESULT=${TEST_RESULTS_DIR}/${target}.xml
      -D SECONDS=${FUZZ_SECONDS}
      -P ${PROJECT_SOURCE_DIR}/cmake/RunFuzzer.cmake)
  set_tests_properties(${target} PROPERTIES LABELS fuzz)
endfunction()

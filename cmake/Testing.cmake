# GoogleTest from Debian's sources, built with the project's own compiler (native or MinGW),
# and one CTest test per test executable; each writes its results as XML for the summary.
enable_testing()

set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

set(TEST_RESULTS_DIR ${CMAKE_BINARY_DIR}/test-results)
if(WIN32)
  # Under Wine the Unix root is drive Z:; a path without a drive would be taken as relative.
  set(TEST_RESULTS_ARG "xml:Z:${TEST_RESULTS_DIR}/")
else()
  set(TEST_RESULTS_ARG "xml:${TEST_RESULTS_DIR}/")
endif()

# What a Windows test program compiles with (see add_project_test).
set(TEST_PROGRAM_OPTIONS -O1 -g1)

# add_project_test(NAME SOURCES... [LIBRARIES libs...] [ENVIRONMENT vars...])
function(add_project_test name)
  if(BUILD_FUZZERS)
    return()  # a fuzzing build builds and runs the fuzz targets only
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gmock_main ${ARG_LIBRARIES})
  if(WIN32)
    # What a test proves does not hang on how its own code is optimised, and line tables are
    # enough for a backtrace: its files compile in half the time. The code under test keeps
    # the build's flags.
    target_compile_options(${name} PRIVATE ${TEST_PROGRAM_OPTIONS})
    set_property(TARGET ${name} PROPERTY TEST_PROGRAM TRUE)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "GTEST_OUTPUT=${TEST_RESULTS_ARG};${ARG_ENVIRONMENT}")
endfunction()

if(BUILD_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()

# add_project_benchmark(NAME SOURCES... [LIBRARIES libs...])
function(add_project_benchmark name)
  if(NOT BUILD_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE benchmark::benchmark_main ${ARG_LIBRARIES})
endfunction()

# Compiler settings shared by every target of the project.
add_compile_options(-Wall -Wextra)

if(WIN32)
  # Unicode entry points throughout; Windows 7 is the oldest system we serve.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                          WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800)
  # Static runtime: the binaries must run where nothing else is installed.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# A module whose .def file names its stdcall exports without their 32-bit decoration
# (Name@bytes): the 32-bit linker matches them up; 64-bit names carry no decoration at all.
function(use_undecorated_exports target)
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()

# A Windows binary that we ship keeps its debug information in NAME.debug beside it, found
# through the binary's debug link, as a Windows program keeps its in a PDB. Left inside, it
# lies within the image, so the loader reads megabytes of it at every start.
function(keep_debug_info_aside target)
  if(NOT WIN32)
    return()
  endif()
  set(file $<TARGET_FILE_NAME:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${file}.debug ${file}
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()

# build_tool(OUT TARGET SETTING): the program a build step runs, TARGET of this build, or the
# one the cache SETTING names instead: where 32-bit programs cannot run, the 32-bit build is
# given the 64-bit build's own.
function(build_tool out target setting)
  set(${setting} "" CACHE FILEPATH "A ${target}.exe to run instead of this build's own")
  if(${setting})
    set(${out} ${${setting}} PARENT_SCOPE)
  else()
    set(${out} $<TARGET_FILE:${target}> PARENT_SCOPE)
  endif()
endfunction()

# bench_only(TARGET...): programs that only scripts/bench.sh or a person runs, which no test
# needs, are left out of the default build; `--target bench_programs` builds them.
function(bench_only)
  if(NOT TARGET bench_programs)
    add_custom_target(bench_programs)
  endif()
  set_target_properties(${ARGN} PROPERTIES EXCLUDE_FROM_ALL TRUE)
  add_dependencies(bench_programs ${ARGN})
endfunction()

# Windows builds parse <windows.h> and GoogleTest's header in most files, and those two take
# longer to read than many a file's own code. precompile_common_headers(), called once at the
# end of the top-level CMakeLists, gives every C++ target of the project with more than one
# source file a precompiled header: the standard library's usual headers, <windows.h> when a
# source of the target (or a project header it names) includes it, and GoogleTest's header for
# a target that links it. Targets added anywhere, later ones included, get it without asking.
# Targets alike in those headers and in their flags (a test program's own, or the build's)
# share one header, compiled once by a small target of its own: compiling one costs as much as
# compiling a dozen ordinary files.
set(WINDOWS_HEADER_PATTERN "#include <(windows|ole2|objbase|oaidl|ocidl|olectl|shellapi|commctrl|shlobj)\\.h>")

# Whether a source file, or a project header it names with quotes, includes a Windows header.
function(_includes_windows_headers file out)
  set(${out} FALSE PARENT_SCOPE)
  if(NOT EXISTS ${file})
    return()
  endif()
  file(STRINGS ${file} lines REGEX "^#include [<\"]")
  foreach(line IN LISTS lines)
    if(line MATCHES "${WINDOWS_HEADER_PATTERN}")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    if(NOT line MATCHES "^#include \"([^\"]+)\"")
      continue()
    endif()
    set(header ${PROJECT_SOURCE_DIR}/${CMAKE_MATCH_1})
    if(EXISTS ${header})
      file(STRINGS ${header} nested REGEX "${WINDOWS_HEADER_PATTERN}")
      if(nested)
        set(${out} TRUE PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
endfunction()

function(_project_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${subdir} inside)
    if(inside)
      _project_targets(${subdir} more)
      list(APPEND targets ${more})
    endif()
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The target that compiles the header shared by targets of one kind, made on first use.
function(_precompiled_header_donor kind headers test_program out)
  set(donor precompiled_${kind})
  if(NOT TARGET ${donor})
    set(source ${CMAKE_BINARY_DIR}/${donor}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Compiles the precompiled header that targets of one kind share.\n")
    add_library(${donor} OBJECT ${source})
    target_precompile_headers(${donor} PRIVATE ${headers})
    if(test_program)
      target_compile_options(${donor} PRIVATE ${TEST_PROGRAM_OPTIONS})
      set_property(TARGET ${donor} PROPERTY TEST_PROGRAM TRUE)
    endif()
    if("<gtest/gtest.h>" IN_LIST headers)
      target_link_libraries(${donor} PRIVATE GTest::gmock)
    endif()
    _trust_precompiled_headers(${donor})
  endif()
  set(${out} ${donor} PARENT_SCOPE)
endfunction()

# ccache caches what is compiled with a precompiled header only when told to trust it.
function(_trust_precompiled_headers target)
  get_target_property(launcher ${target} CXX_COMPILER_LAUNCHER)
  if(launcher MATCHES "ccache" AND NOT launcher MATCHES "CCACHE_SLOPPINESS")
    set_property(TARGET ${target} PROPERTY CXX_COMPILER_LAUNCHER
      env CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${launcher})
  endif()
endfunction()

function(precompile_common_headers)
  if(NOT WIN32)
    return()
  endif()
  _project_targets(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$" OR NOT sources)
      continue()
    endif()
    set(cpp_files "")
    set(windows FALSE)
    foreach(source IN LISTS sources)
      if(source MATCHES "\\.(cpp|cc)$")
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
        list(APPEND cpp_files ${source})
        if(NOT windows)
          _includes_windows_headers(${source} windows)
        endif()
      endif()
    endforeach()
    list(LENGTH cpp_files count)
    if(count LESS 2)
      continue()  # the header would be compiled for one file: nothing saved
    endif()
    set(headers <algorithm> <functional> <memory> <string> <vector>)
    set(kind standard)
    if(windows)
      list(APPEND headers <windows.h>)
      string(APPEND kind _windows)
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    if(links MATCHES "GTest::")
      list(APPEND headers <gtest/gtest.h>)
      string(APPEND kind _gtest)
    endif()
    get_target_property(test_program ${target} TEST_PROGRAM)
    if(test_program)
      string(APPEND kind _test)
    endif()
    _precompiled_header_donor(${kind} "${headers}" "${test_program}" donor)
    target_precompile_headers(${target} REUSE_FROM ${donor})
    _trust_precompiled_headers(${target})
  endforeach()
endfunction()

# The one version number of the project (project(VERSION)), handed to every place that shows
# it: the version record of each Windows binary (add_version_record), Test.exe's manifest, the
# packages and their names.
set(PROJECT_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
string(REPLACE "." ", " PROJECT_VERSION_NUMBERS ${PROJECT_VERSION_QUAD})

# add_version_record(TARGET DESCRIPTION [TURKISH]): a version record for TARGET with the
# project's version, the file's name and what it is; TURKISH gives it the language of a
# program whose texts are Turkish.
function(add_version_record target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(VERSION_FILE_TYPE VFT_APP)
    set(suffix .exe)
  else()
    set(VERSION_FILE_TYPE VFT_DLL)
    set(suffix .dll)
  endif()
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(VERSION_ORIGINAL_FILENAME ${name}${suffix})
  set(VERSION_INTERNAL_NAME ${name})
  set(VERSION_DESCRIPTION ${description})
  if("TURKISH" IN_LIST ARGN)
    set(VERSION_BLOCK 041F04E6)
    set(VERSION_TRANSLATION "0x041F, 1254")
  else()
    set(VERSION_BLOCK 040904B0)
    set(VERSION_TRANSLATION "0x0409, 1200")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_record.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

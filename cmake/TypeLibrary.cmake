# Type libraries from interface descriptions, compiled by Wine's IDL compiler (widl) at build
# time. stdole2.tlb, which every automation library imports, comes from Wine's own files.
# Both follow the width being built; the other width's stdole2.tlb serves where only one Wine
# half is installed.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WIDL_WIDTH -m64)
  set(wine_windows_dirs /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows
                        /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows)
else()
  set(WIDL_WIDTH -m32)
  set(wine_windows_dirs /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
                        /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows)
endif()
find_program(WIDL_EXECUTABLE NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-widl widl REQUIRED)
find_path(STDOLE2_TLB_DIR stdole2.tlb PATHS ${wine_windows_dirs} NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# idl_fragments(IDL OUT): every file that IDL reads through `import "..."` or `#include "..."`,
# found beside the file that names it or in activex/, and what those read in turn, so that a
# change to a shared fragment rebuilds every library made from it. Reading the IDL again when
# it changes keeps the list current.
function(idl_fragments idl out)
  set(pending ${idl})
  set(found "")
  while(pending)
    list(POP_FRONT pending file)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    get_filename_component(dir ${file} DIRECTORY)
    file(STRINGS ${file} lines REGEX "^[ \t]*(#[ \t]*include|import)[ \t]+\"[^\"]+\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" name "${line}")
      foreach(candidate ${dir}/${name} ${PROJECT_SOURCE_DIR}/activex/${name})
        get_filename_component(candidate ${candidate} ABSOLUTE)
        if(EXISTS ${candidate})
          if(NOT candidate IN_LIST found)
            list(APPEND found ${candidate})
            list(APPEND pending ${candidate})
          endif()
          break()
        endif()
      endforeach()
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# add_type_library(TARGET IDL): compiles IDL into TARGET.tlb and TARGET.h (interfaces, IIDs)
# in the current binary folder, and makes an interface library TARGET that brings the header,
# TYPELIB_RC (an .rc fragment that embeds the .tlb as type-library resource 1) and
# TARGET_guids.cpp (the GUID definitions). Link TARGET and add the .rc to the module's sources:
#   add_type_library(simdev_typelib device.idl)
#   add_library(devsim SHARED ... ${simdev_typelib_RC})
function(add_type_library target idl)
  get_filename_component(idl_path ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target})
  idl_fragments(${idl_path} fragments)
  add_custom_command(
    OUTPUT ${out}.tlb ${out}.h
    COMMAND ${WIDL_EXECUTABLE} ${WIDL_WIDTH} -L ${STDOLE2_TLB_DIR} -I ${PROJECT_SOURCE_DIR}/activex
            -t -T ${out}.tlb -h -H ${out}.h ${idl_path}
    DEPENDS ${idl_path} ${fragments}
    COMMENT "Compiling type library ${target}.tlb"
    VERBATIM)
  file(WRITE ${out}.rc.in "1 TYPELIB \"${out}.tlb\"\n")
  configure_file(${out}.rc.in ${out}.rc COPYONLY)
  file(WRITE ${out}_guids.cpp.in "#include <initguid.h>\n#include \"${target}.h\"\n")
  configure_file(${out}_guids.cpp.in ${out}_guids.cpp COPYONLY)
  set_source_files_properties(${out}.rc PROPERTIES OBJECT_DEPENDS ${out}.tlb)
  add_library(${target} STATIC ${out}_guids.cpp ${out}.h)
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_BINARY_DIR} ${PROJECT_SOURCE_DIR}/activex)
  target_link_libraries(${target} PUBLIC uuid ole32 oleaut32)
  set(${target}_RC ${out}.rc PARENT_SCOPE)
endfunction()

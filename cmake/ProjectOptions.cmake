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

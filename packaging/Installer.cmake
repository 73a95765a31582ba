# The Windows Installer package of this width, built with wixl next to the ZIP:
#   cmake --build --preset windows64 --target msi   # package/CallerIdMonitor-VERSION-win64.msi
# The 64-bit package also carries the 32-bit tevrin4.dll and opencid.dll, taken from the
# 32-bit build folder (WIN32_BUILD_DIR), which must be built first.
find_program(WIXL_EXECUTABLE wixl)
find_program(MSIBUILD_EXECUTABLE msibuild)
find_program(MSIINFO_EXECUTABLE msiinfo)
if(NOT WIXL_EXECUTABLE OR NOT MSIBUILD_EXECUTABLE OR NOT MSIINFO_EXECUTABLE)
  message(STATUS "wixl or msibuild not found (Debian package wixl, msitools): no msi target")
  return()
endif()

add_executable(make_installer_registry ${CMAKE_CURRENT_LIST_DIR}/registry/make_installer_registry.cpp)
target_link_libraries(make_installer_registry PRIVATE legacy_win32 opencid_win32 device_win32 common shell32)

# Where 32-bit programs cannot run, the 32-bit build is given the 64-bit writer, as for its
# type library.
build_tool(registry_writer make_installer_registry INSTALLER_REGISTRY_WRITER)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(msi_width 64)
  set(msi_arch x64)
  set(WIN32_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/windows CACHE PATH "The 32-bit build, for the 64-bit package")
else()
  set(msi_width 32)
  set(msi_arch x86)
  set(WIN32_BUILD_DIR ${CMAKE_BINARY_DIR})
endif()
set(msi_registry ${CMAKE_BINARY_DIR}/package/registry)
set(msi_file ${CMAKE_BINARY_DIR}/package/CallerIdMonitor-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}.msi)

# installer_registry(NAME KIND FILE-ID FOLDER-ID [TYPE-LIBRARY]): NAME.wxi, the entries of one
# server installed as FILE-ID in FOLDER-ID.
set(msi_registry_files)
function(installer_registry name kind file_id folder_id)
  set(out ${msi_registry}/${name}.wxi)
  set(tlb)
  set(options)
  if(folder_id STREQUAL "X86FOLDER" AND msi_width EQUAL 64)
    set(options --without-shared-keys)
  endif()
  if(ARGN)
    set(tlb Z:${ARGN})
  endif()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${msi_registry}
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${registry_writer} ${options} Z:${out} ${kind} ${file_id} ${folder_id} ${tlb}
    DEPENDS ${registry_writer} ${ARGN}
    COMMENT "Writing the installer's registry entries ${name}.wxi"
    VERBATIM)
  set(msi_registry_files ${msi_registry_files} ${out} PARENT_SCOPE)
endfunction()

installer_registry(tevrin4_dll tevrin4 tevrin4_dll INSTALLFOLDER ${CMAKE_BINARY_DIR}/legacy/Upgrade_v4.tlb)
installer_registry(opencid_dll opencid opencid_dll INSTALLFOLDER)
installer_registry(opencid_dll_as_device opencid-as-device opencid_dll INSTALLFOLDER)
installer_registry(devsim_dll devsim devsim_dll INSTALLFOLDER ${CMAKE_BINARY_DIR}/device/win32/tevrin5_typelib.tlb)
set(msi_inputs $<TARGET_FILE:monitor_program> $<TARGET_FILE:tevrin4> $<TARGET_FILE:opencid> $<TARGET_FILE:devsim>
               $<TARGET_FILE:devctl> $<TARGET_FILE:sourcesettings> $<TARGET_FILE:cidrelay>)
if(msi_width EQUAL 64)
  installer_registry(tevrin4_x86_dll tevrin4 tevrin4_x86_dll X86FOLDER ${WIN32_BUILD_DIR}/legacy/Upgrade_v4.tlb)
  installer_registry(opencid_x86_dll opencid opencid_x86_dll X86FOLDER)
  installer_registry(opencid_x86_dll_as_device opencid-as-device opencid_x86_dll X86FOLDER)
  list(APPEND msi_inputs ${WIN32_BUILD_DIR}/legacy/tevrin4.dll ${WIN32_BUILD_DIR}/opencid/win32/opencid.dll)
endif()
add_custom_command(
  OUTPUT ${msi_file}
  COMMAND ${CMAKE_COMMAND} -DWIXL=${WIXL_EXECUTABLE} -DMSIBUILD=${MSIBUILD_EXECUTABLE} -DMSIINFO=${MSIINFO_EXECUTABLE} -DARCH=${msi_arch}
          -DWIDTH=${msi_width} -DVERSION=${PROJECT_VERSION} -DBIN=${CMAKE_BINARY_DIR} -DBIN32=${WIN32_BUILD_DIR}
          -DREGISTRY=${msi_registry} -DSOURCE=${PROJECT_SOURCE_DIR} -DOUTPUT=${msi_file}
          -P ${CMAKE_CURRENT_LIST_DIR}/MakeInstaller.cmake
  DEPENDS ${msi_registry_files} ${msi_inputs} ${CMAKE_CURRENT_LIST_DIR}/CallerIdMonitor.wxs
          ${CMAKE_CURRENT_LIST_DIR}/MakeInstaller.cmake ${CMAKE_CURRENT_LIST_DIR}/InstallerDialogs.cmake
          ${PROJECT_SOURCE_DIR}/LICENSE.txt
          ${CMAKE_CURRENT_LIST_DIR}/README-Windows.txt
  COMMENT "Building ${msi_file}"
  VERBATIM)
add_custom_target(msi DEPENDS ${msi_file})
add_dependencies(msi monitor_program tevrin4 opencid devsim devctl sourcesettings cidrelay)

# Each width's package under Wine, in a prefix of that width, both from the 64-bit build (the
# one whose tests run everywhere): installer_test installs the 64-bit package in a 64-bit prefix
# (which runs 32-bit hosts too, where the kernel allows), installer_test_win32 the 32-bit one
# in a 32-bit prefix, or reads its tables where 32-bit programs cannot run. Each package is
# built first. Each test has a prefix and a display of its own, but keeps both cores busy with
# msiexec and Wine's services for a minute, which the tests that time windows do not bear.
if(msi_width EQUAL 64 AND NOT BUILD_FUZZERS)
  add_test(NAME installer_build COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target msi)
  set_tests_properties(installer_build PROPERTIES FIXTURES_SETUP installer)
  add_test(NAME installer_test COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/tests/installer_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(installer_test PROPERTIES FIXTURES_REQUIRED installer RUN_SERIAL TRUE TIMEOUT 900)
  add_test(NAME installer_build_win32 COMMAND ${CMAKE_COMMAND} --build ${WIN32_BUILD_DIR} --target msi)
  set_tests_properties(installer_build_win32 PROPERTIES FIXTURES_SETUP installer_win32)
  add_test(NAME installer_test_win32 COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/tests/installer_test.sh ${WIN32_BUILD_DIR})
  set_tests_properties(installer_test_win32 PROPERTIES FIXTURES_REQUIRED installer_win32 RUN_SERIAL TRUE TIMEOUT 600)
  add_test(NAME installer_ui_test COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/tests/installer_ui_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(installer_ui_test PROPERTIES FIXTURES_REQUIRED installer RUN_SERIAL TRUE TIMEOUT 300)
endif()

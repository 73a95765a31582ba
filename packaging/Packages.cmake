# One ZIP per width (`cmake --build --preset windows|windows64 --target package`): the
# programs stripped, the licence, and a short text for whoever installs them on Windows.
install(TARGETS monitor_program devctl sourcesettings cidrelay RUNTIME DESTINATION .)
install(TARGETS tevrin4 devsim opencid RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/README-Windows.txt ${PROJECT_SOURCE_DIR}/LICENSE.txt DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME CallerIdMonitor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

include(${CMAKE_CURRENT_LIST_DIR}/Installer.cmake)

# The release package: a ZIP of the 32-bit DLLs and a short Japanese readme in
# Shift-JIS with CR LF line ends, as a Windows user reads it.
# Built with `cmake --build build/i686 --target package`.
if(NOT TEVRIX_ARCH STREQUAL "i686")
  return()
endif()

set(readme_source ${PROJECT_SOURCE_DIR}/cmake/package-readme.txt)
set(readme ${CMAKE_BINARY_DIR}/package/Readme.txt)
add_custom_command(
  OUTPUT ${readme}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
  COMMAND sh -c "sed 's/$/\\r/' '${readme_source}' | iconv -f UTF-8 -t CP932 > '${readme}'"
  DEPENDS ${readme_source}
  VERBATIM)
add_custom_target(package_readme ALL DEPENDS ${readme})

foreach(dll tevrix_plugin vandry)
  if(TARGET ${dll})
    install(TARGETS ${dll} RUNTIME DESTINATION . LIBRARY DESTINATION .)
  endif()
endforeach()
install(FILES ${readme} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tevrix)
set(CPACK_PACKAGE_VERSION 1.0.1.9)
set(CPACK_PACKAGE_FILE_NAME Tevrix-1.01-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)

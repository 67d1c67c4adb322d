# Helpers shared by the project's CMake files.

set(STRAYSWEEP_PRODUCT_NAME "Norvale PST Straysweep")
set(STRAYSWEEP_COMPANY_NAME "Norvale")

# Gives an executable or module a version resource carrying the project version.
function(straysweep_add_version_resource target description original_filename)
  set(VERSION_DESCRIPTION "${description}")
  set(VERSION_ORIGINAL_FILENAME "${original_filename}")
  set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc_file} @ONLY)
  target_sources(${target} PRIVATE ${rc_file})
endfunction()

# A library target for one folder of library/; includes are relative to the
# repository root.
function(straysweep_add_library target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

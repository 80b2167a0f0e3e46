# The release: the project's version in both programs and, on Windows,
# the version resource and manifest both programs carry.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
# version.h, and the resource pieces both Windows programs carry.
add_library(zarvi_version INTERFACE)
target_include_directories(zarvi_version INTERFACE
  ${PROJECT_BINARY_DIR}/generated ${PROJECT_SOURCE_DIR}/src/platform/resources)

if(NOT WIN32)
  return()
endif()
enable_language(RC)
# No build folder in the code (the file names of assertions and the like)
# and no time of linking in the executables' headers: the same sources give
# the same bytes wherever they lie and whenever they are built.
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.;-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>")
add_link_options(-Wl,--no-insert-timestamp)

# The release: the project's version in both programs.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
add_library(zarvi_version INTERFACE)
target_include_directories(zarvi_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

# The release: the project's version in both programs and, on Windows,
# the version resource and manifest both programs carry, executables that
# come out byte for byte the same from the same sources, and the dist
# target that packs them: the zip and the setup program a Windows user
# downloads or, in a static Linux build, the engine's tarball.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
# version.h, and the resource pieces both Windows programs carry.
add_library(zarvi_version INTERFACE)
target_include_directories(zarvi_version INTERFACE
  ${PROJECT_BINARY_DIR}/generated ${PROJECT_SOURCE_DIR}/src/platform/resources)

option(ZARVI_LINUX_DIST "Build the statically linked Linux engine and its tarball only" OFF)
if(NOT WIN32 AND NOT ZARVI_LINUX_DIST)
  return()
endif()
# No build folder in the code (the file names of assertions and the like):
# the same sources give the same bytes wherever they lie.
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.;-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>")
set(ZARVI_DIST_DIR ${PROJECT_BINARY_DIR}/dist CACHE PATH "Folder of the release packages")
set(ZARVI_DIST_FOLDER zarvi-${PROJECT_VERSION})
# Packed at every build: the dates come from the last commit, which can
# change when no file of the package does.
set(pack python3 ${PROJECT_SOURCE_DIR}/scripts/dist.py --strip ${CMAKE_STRIP})

if(ZARVI_LINUX_DIST)
  # One binary for any x86-64 Linux: the C and C++ runtimes linked in, the
  # threads with them (glibc keeps them in libc itself).
  add_link_options(-static -pthread)
  set(ZARVI_DIST_TARBALL ${ZARVI_DIST_DIR}/${ZARVI_DIST_FOLDER}-linux-x64.tar.gz)
  configure_file(${PROJECT_SOURCE_DIR}/release/README-linux.txt ${PROJECT_BINARY_DIR}/release/README.txt @ONLY)
  add_custom_target(dist ALL
    COMMAND ${pack} ${ZARVI_DIST_TARBALL} ${ZARVI_DIST_FOLDER} $<TARGET_FILE:zarvi-engine>
            ${PROJECT_SOURCE_DIR}/data/librito.txt ${PROJECT_BINARY_DIR}/release/README.txt
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    VERBATIM)
  add_dependencies(dist zarvi-engine)
  return()
endif()

enable_language(RC)
# No time of linking in the executables' headers.
add_link_options(-Wl,--no-insert-timestamp)
set(ZARVI_DIST_ZIP ${ZARVI_DIST_DIR}/${ZARVI_DIST_FOLDER}-windows-x64.zip)
set(ZARVI_DIST_SETUP ${ZARVI_DIST_DIR}/${ZARVI_DIST_FOLDER}-setup.exe)
# The user's README, with the version and Windows line endings.
configure_file(${PROJECT_SOURCE_DIR}/release/README.txt ${PROJECT_BINARY_DIR}/release/README.txt
               @ONLY NEWLINE_STYLE CRLF)
# The setup program is made from the zip, so that both hold the same bytes.
add_custom_target(dist ALL
  COMMAND ${pack} ${ZARVI_DIST_ZIP} ${ZARVI_DIST_FOLDER}
          $<TARGET_FILE:zarvi> $<TARGET_FILE:zarvi-engine> ${PROJECT_SOURCE_DIR}/data/librito.txt
          ${PROJECT_BINARY_DIR}/release/README.txt
  COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/setup.py --script ${PROJECT_SOURCE_DIR}/release/setup.nsi
          --icon ${PROJECT_SOURCE_DIR}/src/ui/resources/zarvi.ico --version ${PROJECT_VERSION}
          ${ZARVI_DIST_ZIP} ${ZARVI_DIST_SETUP}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  VERBATIM)
add_dependencies(dist zarvi zarvi-engine)

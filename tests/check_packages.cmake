cmake_minimum_required(VERSION 3.25)
# Builds the release archives of a configured build tree and checks that each
# holds what a user needs:
#   cmake -DCPACK=cpack -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=1.0.0
#         -DPLATFORM=linux|windows [-DDPKG_DEB=dpkg-deb] [-DPKG_CONFIG=pkg-config]
#         -P check_packages.cmake

# Runs a command, its stdout into `output`; a failure stops the check.
macro(run)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE output COMMAND_ERROR_IS_FATAL ANY)
endmacro()

# Every file of HAS is under dir; none of LACKS is.
function(expect_files what dir)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "HAS;LACKS")
  foreach(f IN LISTS arg_HAS)
    # A namelink in a development package points into the run-time one.
    if(NOT EXISTS "${dir}/${f}" AND NOT IS_SYMLINK "${dir}/${f}")
      file(GLOB_RECURSE present RELATIVE "${dir}" "${dir}/*")
      message(FATAL_ERROR "${what} lacks ${f}; it holds:\n  ${present}")
    endif()
  endforeach()
  foreach(f IN LISTS arg_LACKS)
    if(EXISTS "${dir}/${f}" OR IS_SYMLINK "${dir}/${f}")
      message(FATAL_ERROR "${what} holds ${f}, which belongs elsewhere")
    endif()
  endforeach()
  message(STATUS "${what}: holds [${arg_HAS}]")
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(packages "${WORK_DIR}/packages")
run("${CPACK}" --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}"
    -D "CPACK_OUTPUT_FILE_PREFIX=${packages}")

set(development_files
  include/tevrind.h include/tevrind.hpp
  lib/cmake/tevrind/tevrindConfig.cmake lib/cmake/tevrind/tevrindConfigVersion.cmake
  lib/cmake/tevrind/tevrindTargets.cmake lib/pkgconfig/tevrind.pc
  share/tevrind/python/tevrind.py)

if(PLATFORM STREQUAL "windows")
  set(name "tevrind-${VERSION}-win64")
  set(archive "${packages}/${name}.zip")
  if(NOT EXISTS "${archive}")
    message(FATAL_ERROR "no ${archive}")
  endif()
  file(ARCHIVE_EXTRACT INPUT "${archive}" DESTINATION "${WORK_DIR}/unpacked")
  expect_files("${name}.zip" "${WORK_DIR}/unpacked/${name}"
    HAS bin/tevrind.dll lib/libtevrind.dll.a lib/tevrind.def README.md ${development_files})
  return()
endif()

# The archive: one tree with everything.
file(GLOB archive "${packages}/tevrind-${VERSION}-*.tar.gz")
if(NOT archive)
  message(FATAL_ERROR "no tar.gz in ${packages}")
endif()
get_filename_component(name "${archive}" NAME)
string(REGEX REPLACE "\\.tar\\.gz$" "" top "${name}")
file(ARCHIVE_EXTRACT INPUT "${archive}" DESTINATION "${WORK_DIR}/unpacked")
set(tree "${WORK_DIR}/unpacked/${top}")
expect_files("${name}" "${tree}"
  HAS lib/libtevrind.so.${VERSION} lib/libtevrind.so.1 lib/libtevrind.so
      share/doc/tevrind/README.md ${development_files})
if(PKG_CONFIG)
  # Unpacked anywhere, the pkg-config file points into the unpacked tree.
  set(ENV{PKG_CONFIG_LIBDIR} "${tree}/lib/pkgconfig")
  run("${PKG_CONFIG}" --variable=includedir tevrind)
  string(STRIP "${output}" includedir)
  if(NOT EXISTS "${includedir}/tevrind.h")
    message(FATAL_ERROR "pkg-config's includedir ${includedir} has no tevrind.h")
  endif()
endif()

# The Debian packages: the library, and its development files apart.
if(NOT DPKG_DEB)
  return()
endif()
file(GLOB runtime_deb "${packages}/libtevrind1_${VERSION}_*.deb")
file(GLOB dev_deb "${packages}/libtevrind-dev_${VERSION}_*.deb")
if(NOT runtime_deb OR NOT dev_deb)
  message(FATAL_ERROR "expected libtevrind1 and libtevrind-dev packages in ${packages}")
endif()
foreach(deb IN ITEMS "${runtime_deb}" "${dev_deb}")
  get_filename_component(deb_name "${deb}" NAME)
  foreach(field IN ITEMS Package Version Architecture Maintainer Section Description Depends)
    run("${DPKG_DEB}" --field "${deb}" ${field})
    string(STRIP "${output}" value)
    if(value STREQUAL "")
      message(FATAL_ERROR "${deb_name} has no ${field} field")
    endif()
    set(${field} "${value}")
  endforeach()
  if(NOT Version STREQUAL VERSION OR NOT deb_name MATCHES "^${Package}_")
    message(FATAL_ERROR "${deb_name}: package ${Package} version ${Version}")
  endif()
  if(Package STREQUAL "libtevrind-dev" AND NOT Depends MATCHES "libtevrind1 \\(= ${VERSION}\\)")
    message(FATAL_ERROR "libtevrind-dev depends on '${Depends}', not on libtevrind1 of its version")
  endif()
  if(Package STREQUAL "libtevrind1" AND NOT Depends MATCHES "libc6")
    message(FATAL_ERROR "libtevrind1 depends on '${Depends}', not on libc6")
  endif()
  run("${DPKG_DEB}" -x "${deb}" "${WORK_DIR}/${Package}")
endforeach()
expect_files("libtevrind1" "${WORK_DIR}/libtevrind1/usr"
  HAS lib/libtevrind.so.${VERSION} lib/libtevrind.so.1 share/doc/tevrind/README.md
  LACKS include/tevrind.h lib/libtevrind.so)
expect_files("libtevrind-dev" "${WORK_DIR}/libtevrind-dev/usr"
  HAS lib/libtevrind.so ${development_files}
  LACKS lib/libtevrind.so.${VERSION})

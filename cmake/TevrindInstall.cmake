# Install rules and release archives.
#
# Components: Runtime (the shared library, what a host needs to run) and
# Development (headers, namelink or import library, CMake and pkg-config
# files, the Python module, the module-definition file on Windows).

include(CMakePackageConfigHelpers)

set(TEVRIND_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/tevrind" CACHE STRING
    "Where the CMake package files go, relative to the prefix")
set(TEVRIND_PYTHON_DIR "${CMAKE_INSTALL_DATADIR}/tevrind/python" CACHE STRING
    "Where the Python module goes, relative to the prefix")

install(TARGETS tevrind EXPORT tevrindTargets
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT Runtime
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT Runtime
          NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT Development
  INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(FILES include/tevrind.h include/tevrind.hpp
  DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}" COMPONENT Development)
if(WIN32)
  install(FILES cmake/tevrind.def DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT Development)
  install(FILES README.md DESTINATION . COMPONENT Runtime)
else()
  install(FILES README.md DESTINATION "${CMAKE_INSTALL_DOCDIR}" COMPONENT Runtime)
endif()
install(FILES python/tevrind.py DESTINATION "${TEVRIND_PYTHON_DIR}" COMPONENT Development)

# CMake: find_package(tevrind 1 CONFIG REQUIRED) -> tevrind::tevrind.
install(EXPORT tevrindTargets NAMESPACE tevrind::
  DESTINATION "${TEVRIND_CMAKE_DIR}" COMPONENT Development)
configure_package_config_file(cmake/tevrindConfig.cmake.in
  "${PROJECT_BINARY_DIR}/tevrindConfig.cmake"
  INSTALL_DESTINATION "${TEVRIND_CMAKE_DIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/tevrindConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/tevrindConfig.cmake"
              "${PROJECT_BINARY_DIR}/tevrindConfigVersion.cmake"
  DESTINATION "${TEVRIND_CMAKE_DIR}" COMPONENT Development)

# pkg-config, with paths relative to the .pc file: right for any prefix the
# tree is installed or unpacked under.  (An absolute libdir, as some
# distributions' builds set, is taken as it is.)
set(pc_dir "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(TEVRIND_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  string(REGEX REPLACE "[^/]+" ".." up "${pc_dir}")
  set(TEVRIND_PC_PREFIX "\${pcfiledir}/${up}")
endif()
foreach(kind IN ITEMS LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(TEVRIND_PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(TEVRIND_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
if(UNIX AND NOT APPLE)
  set(TEVRIND_PC_LIBS_PRIVATE "-lm")
endif()
configure_file(cmake/tevrind.pc.in "${PROJECT_BINARY_DIR}/tevrind.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/tevrind.pc" DESTINATION "${pc_dir}" COMPONENT Development)

# --- Release archives: cpack in the build folder ----------------------------

set(CPACK_PACKAGE_NAME tevrind)
set(CPACK_PACKAGE_VENDOR "tevrind developers")
# The Debian packages' synopsis; their descriptions follow it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "oxygen partial pressure from luminescence lifetime")
set(tevrind_about "tevrind turns the decay time of a luminescence-quenching oxygen
sensor, with its temperature, into an oxygen partial pressure under a
two-site Stern-Volmer model, and calibrates the sensor's quenching constant
from one known point. Its results are the same bits on every platform.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_OUTPUT_FILE_PREFIX packages)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_SYSTEM_NAME "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
  set(CPACK_GENERATOR TGZ DEB)
endif()
# Archives hold everything in one tree; the Debian packages are split the
# Debian way, into the run-time library and its development files.
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Development)

set(TEVRIND_PACKAGE_MAINTAINER "tevrind developers <tevrind@users.noreply.example>"
    CACHE STRING "Maintainer named in the Debian packages")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TEVRIND_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "libtevrind${PROJECT_VERSION_MAJOR}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "${tevrind_about}

This package contains the shared library.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "libtevrind-dev")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "libtevrind${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "${tevrind_about}

This package contains the development files: the C and C++ headers, the
CMake package and pkg-config files, and the Python module.")
if(CMAKE_CROSSCOMPILING)
  # dpkg-shlibdeps reads the host's package database; name the one dependency.
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libc6")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  endif()
else()
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)

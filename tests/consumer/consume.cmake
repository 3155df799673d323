cmake_minimum_required(VERSION 3.25)
# One step of the consumer tests, against an install of the build tree into
# a fresh prefix:
#   cmake -DSTEP=install|cmake|pkg-config|python -DPREFIX=... [options] -P consume.cmake
# install:    -DBUILD_DIR=<tevrind build> -DCONFIG=<config>
# cmake:      -DWORK_DIR=... -DC_COMPILER=... -DCXX_COMPILER=... -DGENERATOR=...
# pkg-config: -DWORK_DIR=... -DC_COMPILER=... -DPKG_CONFIG=...
# python:     -DPYTHON=...

# Runs a command, its stdout into `output`; a failure stops the step.
macro(run)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE output COMMAND_ERROR_IS_FATAL ANY)
endmacro()

set(here "${CMAKE_CURRENT_LIST_DIR}")

if(STEP STREQUAL "install")
  file(REMOVE_RECURSE "${PREFIX}")
  run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" --config "${CONFIG}")

elseif(STEP STREQUAL "cmake")
  file(REMOVE_RECURSE "${WORK_DIR}")
  run("${CMAKE_COMMAND}" -S "${here}" -B "${WORK_DIR}" -G "${GENERATOR}"
      "-DCMAKE_PREFIX_PATH=${PREFIX}" "-DCMAKE_C_COMPILER=${C_COMPILER}"
      "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}" -DCMAKE_BUILD_TYPE=Release)
  run("${CMAKE_COMMAND}" --build "${WORK_DIR}")
  run("${WORK_DIR}/consumer_c")
  run("${WORK_DIR}/consumer_cpp")

elseif(STEP STREQUAL "pkg-config")
  file(REMOVE_RECURSE "${WORK_DIR}")
  file(MAKE_DIRECTORY "${WORK_DIR}")
  # Only the installed tree: no other .pc files, no system defaults.
  set(ENV{PKG_CONFIG_LIBDIR} "${PREFIX}/lib/pkgconfig")
  unset(ENV{PKG_CONFIG_PATH})
  run("${PKG_CONFIG}" --cflags --libs tevrind)
  separate_arguments(flags UNIX_COMMAND "${output}")
  run("${C_COMPILER}" -std=c99 -Wall -Wextra -Wpedantic -Werror
      "${here}/pkg_config_consumer.c" ${flags} -o "${WORK_DIR}/pkg_config_consumer")
  set(ENV{LD_LIBRARY_PATH} "${PREFIX}/lib")
  run("${WORK_DIR}/pkg_config_consumer")

elseif(STEP STREQUAL "python")
  # The module finds the library of the tree it is installed in by itself.
  unset(ENV{TEVRIND_LIBRARY})
  set(ENV{PYTHONPATH} "${PREFIX}/share/tevrind/python")
  run("${PYTHON}" -c "import tevrind\nprint(tevrind.library_path)\nprint(tevrind.calc_tau0_20(54.0, 10.0, 0.01))")
  file(REAL_PATH "${PREFIX}" real_prefix)
  if(NOT output MATCHES "^${real_prefix}/lib/libtevrind[^\n]*\n60\\.0\n$")
    message(FATAL_ERROR "the module did not load the library installed in ${PREFIX}")
  endif()

else()
  message(FATAL_ERROR "unknown STEP '${STEP}'")
endif()

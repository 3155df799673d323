# Compiler and linker settings shared by the library and everything built
# around it.

# Warnings, on for every target of this project.
function(tevrind_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  endif()
endfunction()

# Plain double arithmetic: every operation rounded to double, in source order.
#
# Set on each target, so that it lands after CMAKE_<LANG>_FLAGS on the command
# line and wins over whatever a builder put there: no contraction of a*b+c
# into a fused multiply-add (which GCC does by default wherever the target
# has one: every aarch64, x86-64 with -march=native), and no fast-math.  The link step gets the
# same treatment: a link line that ends up with -ffast-math, -Ofast or
# -funsafe-math-optimizations pulls in crtfastmath.o, whose start-up routine
# switches the whole host process to flushing subnormals to zero as soon as
# the library is loaded.
function(tevrind_strict_fp target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /fp:precise)
  else()
    # In this order: Clang's -fno-fast-math after an explicit -ffp-contract
    # leaves it be, while the other way round it first restores "on" (and
    # warns about overriding the builder's "fast").
    target_compile_options(${target} PRIVATE -ffp-contract=off -fno-fast-math)
    target_link_options(${target} PRIVATE -fno-fast-math -fno-unsafe-math-optimizations)
    # -Ofast is an optimisation level; the driver only forgets it for a later
    # one.  It makes no difference to the link otherwise.
    set(builder_flags "${CMAKE_CXX_FLAGS} ${CMAKE_C_FLAGS} ${CMAKE_SHARED_LINKER_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
    foreach(config IN ITEMS ${CMAKE_BUILD_TYPE} ${CMAKE_CONFIGURATION_TYPES})
      string(TOUPPER "${config}" config)
      string(APPEND builder_flags " ${CMAKE_CXX_FLAGS_${config}} ${CMAKE_C_FLAGS_${config}}")
    endforeach()
    if(builder_flags MATCHES "(^| )-Ofast( |$)")
      target_link_options(${target} PRIVATE -O3)
    endif()
  endif()
endfunction()

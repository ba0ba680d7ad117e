# The protections Debian gives its own packages, and their Windows kin, for
# every target: the tests run code built as it ships. Link options are
# appended to the toolchain's, so the Windows programs stay statically linked.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  return()
endif()

add_compile_options(-fstack-protector-strong)
if(WIN32)
  # libssp comes in statically; its guard is seeded through advapi32, which
  # the programs import anyway, so no DLL is added.
  add_link_options(-fstack-protector-strong -Wl,--tsaware)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Exceptions unwind by DWARF tables and nothing registers an SEH handler
    # (tests/release checks the code for one), so the image may say so.
    add_link_options(-Wl,--no-seh)
  endif()
else()
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  # Fortified sources need the optimiser; a debug build would only warn.
  add_compile_options(-fstack-clash-protection
    $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# A release names its sources relative to the tree, so the folder it was built
# in reaches no program (the build folder last: GCC takes the last match).
add_compile_options(
  $<$<CONFIG:Release>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>
  $<$<CONFIG:Release>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)

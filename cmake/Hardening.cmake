# Hardened image properties for the launcher executable.
#
#   tandrel_harden_executable(<target>)
#     Compile and link options, platform/load_config.c (i686) and the
#     post-link step tools/harden_pe.py.  Also writes <exe>.map with a cross
#     reference table, which tests/check_pe_hardening.py reads.
#
#   tandrel_add_hardening_test(<test name> <i686|x86_64> <exe>)
#     Registers tests/check_pe_hardening.py for <exe> (a path or
#     $<TARGET_FILE:...>; its map is <exe>.map) with CTest.  Needs
#     python3-pefile at test time, not at build time.
#
# Expects CMAKE_SYSTEM_PROCESSOR i686 or x86_64 and the -posix MinGW-w64 GCC.

include_guard(GLOBAL)

get_filename_component(_tandrel_hardening_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# Debian's interpreter; the post-link step needs only the standard library.
if(NOT Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(_tandrel_hardening_arch out)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(${out} i686 PARENT_SCOPE)
  elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(${out} x86_64 PARENT_SCOPE)
  else()
    message(FATAL_ERROR
      "Hardening: CMAKE_SYSTEM_PROCESSOR must be i686 or x86_64, not '${CMAKE_SYSTEM_PROCESSOR}'")
  endif()
endfunction()

function(tandrel_harden_executable target)
  _tandrel_hardening_arch(arch)
  set(root "${_tandrel_hardening_root}")

  # GUI subsystem (-mwindows).
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)

  target_compile_options(${target} PRIVATE
    # Guard every function with a local array or an address-taken local.
    -fstack-protector-strong
    # No build folder in __FILE__ or anywhere else; no date or time macros.
    "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
    "-ffile-prefix-map=${CMAKE_BINARY_DIR}=."
    -Wdate-time)

  if(arch STREQUAL "i686")
    # The oldest Windows the 32-bit image declares.
    set(os_major 5)
    set(os_minor 0)
  else()
    # There is no 64-bit Windows older than 5.2.
    set(os_major 5)
    set(os_minor 2)
  endif()

  target_link_options(${target} PRIVATE
    # Makes the driver link libssp (guard, seeding, failure handler).
    -fstack-protector-strong
    # Run-time inside the exe: no libstdc++/libgcc/winpthread/ssp DLL.
    -static -static-libgcc -static-libstdc++
    # ASLR (with a real relocation table), DEP, terminal-server aware.
    LINKER:--dynamicbase
    LINKER:--enable-reloc-section
    LINKER:--nxcompat
    LINKER:--tsaware
    LINKER:--major-subsystem-version,${os_major}
    LINKER:--minor-subsystem-version,${os_minor}
    LINKER:--major-os-version,${os_major}
    LINKER:--minor-os-version,${os_minor}
    # reserve,commit must reach ld as one argument: -Wl would split it.
    "SHELL:-Xlinker --stack=0x100000,0x1000"
    "SHELL:-Xlinker --heap=0x100000,0x1000"
    # Reproducible: no link time stamp, no symbols or debug info.
    LINKER:--no-insert-timestamp
    -s
    # Read by tests/check_pe_hardening.py (symbol addresses, who imports what).
    "LINKER:-Map=$<TARGET_FILE:${target}>.map"
    LINKER:--cref)

  set(post_link "${Python3_EXECUTABLE}" "${root}/tools/harden_pe.py" --delete-on-failure)
  if(arch STREQUAL "i686")
    target_sources(${target} PRIVATE "${root}/platform/load_config.c")
    # Fails the link if the record is missing; also keeps it from --gc-sections.
    target_link_options(${target} PRIVATE LINKER:--require-defined,__load_config_used)
  endif()

  # Directory 10 (i686), run-from-swap flags, checksum.  On failure the exe is
  # deleted so that no unhardened image survives as an up-to-date output.
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${post_link} "$<TARGET_FILE:${target}>"
    COMMENT "Hardening ${target}"
    VERBATIM)
endfunction()

function(tandrel_add_hardening_test name arch exe)
  # Debian's interpreter: pefile is a Debian package.
  add_test(NAME ${name}
    COMMAND /usr/bin/python3 "${_tandrel_hardening_root}/tests/check_pe_hardening.py"
            --arch ${arch} --map "${exe}.map" "${exe}")
endfunction()

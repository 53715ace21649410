# Debian's hardening, for every build that no sanitizer or fuzzer instruments: what
# dpkg-buildflags gives with all its hardening features (strong stack protector,
# _FORTIFY_SOURCE=2, full RELRO), and control-flow protection, which Debian 12's dpkg does not
# add yet. Debian's compiler makes position-independent executables by default.
# scripts/package-test.sh checks the result with hardening-check.
option(NUMERETTE_HARDENING "Build with Debian's hardening flags" ON)
find_program(NUMERETTE_DPKG_BUILDFLAGS dpkg-buildflags)
if(NUMERETTE_HARDENING AND NUMERETTE_DPKG_BUILDFLAGS AND NOT NUMERETTE_SANITIZE AND NOT NUMERETTE_FUZZ)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${NUMERETTE_DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # Optimisation and debug information stay the build type's; the path map (there for
    # reproducible builds) would change what __FILE__ says to the tests.
    list(FILTER flags EXCLUDE REGEX "^-(g|O.*|ffile-prefix-map=.*|fdebug-prefix-map=.*)$")
    set(hardening_${kind} ${flags})
  endforeach()
  # _FORTIFY_SOURCE needs an optimising build; glibc warns without one.
  list(FILTER hardening_CPPFLAGS EXCLUDE REGEX "^-D_FORTIFY_SOURCE")
  target_compile_definitions(numerette_flags INTERFACE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  target_compile_options(numerette_flags INTERFACE ${hardening_CPPFLAGS} ${hardening_CXXFLAGS})
  target_link_options(numerette_flags INTERFACE ${hardening_LDFLAGS})
  include(CheckCXXCompilerFlag)
  check_cxx_compiler_flag(-fcf-protection NUMERETTE_HAS_CF_PROTECTION)
  if(NUMERETTE_HAS_CF_PROTECTION)
    target_compile_options(numerette_flags INTERFACE -fcf-protection)
  endif()
endif()

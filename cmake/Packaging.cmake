# make package: two Debian packages through CPack, from the install components: numerette
# (the window) and numerette-eval (the command line, which links only the C++ runtime, so
# that installing it pulls no Qt). Their runtime dependencies are derived from the installed
# binaries by dpkg-shlibdeps, not listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL window eval)
set(CPACK_PACKAGE_NAME numerette)
set(CPACK_PACKAGE_VENDOR "The Numerette project")
set(CPACK_PACKAGE_CONTACT "The Numerette project <maintainers@numerette.example>")
# Each package's description below starts with its own synopsis line. CPack's DEB generator
# puts the project-wide summary before it unless that summary is CPack's default one.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://numerette.example/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The Debian revision of data/changelog.Debian: the packages are built from their own sources.
set(CPACK_DEBIAN_PACKAGE_RELEASE 2)
set(CPACK_DEBIAN_PACKAGE_SOURCE numerette)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME numerette)
set(CPACK_DEBIAN_WINDOW_FILE_NAME DEB-DEFAULT)
# fonts-wine: the window's fonts, loaded from where it installs them; libglib2.0-0: GIO, which
# the launchers open when first used (no link that dpkg-shlibdeps would see).
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "fonts-wine, libglib2.0-0")
set(CPACK_DEBIAN_WINDOW_PACKAGE_SUGGESTS numerette-eval)
# One string: a CMake list would join its parts with ";". Lines stay within 80 columns.
set(CPACK_DEBIAN_WINDOW_DESCRIPTION [=[Calculator for typed arithmetic expressions
Numerette calculates typed arithmetic expressions with the precedence,
types and functions of the VBScript expression language, and keeps a
history that can be saved and loaded. The command-line evaluator is in
the package numerette-eval.]=])

set(CPACK_DEBIAN_EVAL_PACKAGE_NAME numerette-eval)
set(CPACK_DEBIAN_EVAL_FILE_NAME DEB-DEFAULT)
# numerette 9.19-1 was one package that also held /usr/bin/numerette-eval.
set(CPACK_DEBIAN_EVAL_PACKAGE_BREAKS "numerette (<< 9.19-2)")
set(CPACK_DEBIAN_EVAL_PACKAGE_REPLACES "numerette (<< 9.19-2)")
set(CPACK_DEBIAN_EVAL_DESCRIPTION [=[Command-line evaluator of the Numerette calculator
numerette-eval calculates expressions of the VBScript expression language
exactly as the Numerette calculator does, from its arguments or one a
line from standard input, for scripts and batch work. It needs no
graphical libraries.]=])
include(CPack)

# make package: a Debian package through CPack. Its runtime dependencies are derived from the
# installed binaries by dpkg-shlibdeps, not listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME numerette)
set(CPACK_PACKAGE_VENDOR "The Numerette project")
set(CPACK_PACKAGE_CONTACT "The Numerette project <maintainers@numerette.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Calculator for typed arithmetic expressions")
# One string: a CMake list would join its parts with ";". Lines stay within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [=[
Numerette calculates typed arithmetic expressions with the precedence,
types and functions of the VBScript expression language, keeps a history
that can be saved and loaded, and comes with numerette-eval for scripts.]=])
set(CPACK_PACKAGE_HOMEPAGE_URL "https://numerette.example/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Debian revision of data/changelog.Debian: the package is built from its own sources.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine") # the window's fonts, loaded from where it installs them
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

# Packages built with CPack from the install rules: `cpack -G DEB` in the build directory
# makes a Debian package of everything installed, `cpack -G ZIP` in a Windows build folder
# the zip of the Windows build.
set(CPACK_PACKAGE_NAME "bivox")
set(CPACK_PACKAGE_VENDOR "Bivox team")
set(CPACK_PACKAGE_CONTACT "Bivox team <bivox@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "syntax test, macro expansion and stereo conversion of Zerbo score files")
set(CPACK_PACKAGE_DESCRIPTION
    "Bivox reads a Zerbo music-macro-language score (.zrb, Shift-JIS text) and writes a
rebuilt copy beside it: checked, with macros and repeats written out, or with a pan
command before every note that spreads the tracks across the stereo field by pitch.
This package holds the command-line tool bivox-cli.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build.*/")

# The Windows build: `cpack -G ZIP` makes bivox-cli-VERSION-win64.zip.
if(WIN32)
  set(CPACK_PACKAGE_FILE_NAME "bivox-cli-${PROJECT_VERSION}-win64")
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The library dependencies (libc, libstdc++) are found by dpkg-shlibdeps from dpkg-dev.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)

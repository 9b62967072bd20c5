# Two Debian packages from one build, made with `cpack -G DEB` in the build directory
# (scripts/package.sh builds, checks and unpacks them):
#   bivox-cli  the command-line tool and its manual page; no Qt, so that a server or a CI
#              runner can install it alone;
#   bivox      the dialog with its guide texts, document, manual page and desktop
#              integration; depends on bivox-cli.
# Each install rule names its package as its component.
set(BIVOX_PACKAGE_MAINTAINER "Bivox developers <bivox-devel@bivox.org>"
    CACHE STRING "Maintainer of the Debian packages, as: Name <address>")

set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging/debian)
# The changelog's newest entry is the packages' version: a release that raises the project's
# version without a changelog entry stops here.
file(STRINGS ${packaging_dir}/changelog.in changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^bivox \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog.in does not begin with version ${PROJECT_VERSION}")
endif()
configure_file(${packaging_dir}/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog @ONLY)
bivox_gzip(bivox_changelog ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog changelog)

set(packages bivox-cli)
if(BIVOX_BUILD_DIALOG)
  list(APPEND packages bivox)
endif()
foreach(package IN LISTS packages)
  install(FILES ${packaging_dir}/copyright ${changelog}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${package})
endforeach()
# The override is for the package alone, not for a plain `cmake --install`.
if(BIVOX_BUILD_DIALOG)
  install(FILES ${packaging_dir}/bivox.lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME bivox COMPONENT bivox
          EXCLUDE_FROM_ALL)
endif()

set(CPACK_PACKAGE_NAME bivox)
set(CPACK_PACKAGE_VENDOR "The Bivox developers")
set(CPACK_PACKAGE_CONTACT ${BIVOX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build.*/")
# Only the two packages: whatever else is installed stays out of them.
set(CPACK_COMPONENTS_ALL ${packages})

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Each package's library dependencies, found by dpkg-shlibdeps (dpkg-dev) in its own files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

# Each description's first line is its package's summary; CPack indents the rest and marks
# the empty line between paragraphs. No summary for all packages, which it would put first.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(common_paragraph
    "Bivox reads a score of the Zerbo music-macro-language sequencer (.zrb,
Shift-JIS text) and writes a rebuilt copy beside it: checked, with macros
and repeats written out, or with a pan command before every note that
spreads the tracks across the stereo field by pitch.")

set(CPACK_DEBIAN_BIVOX-CLI_PACKAGE_NAME bivox-cli)
set(CPACK_DEBIAN_BIVOX-CLI_DESCRIPTION
    "command-line filter for Zerbo music-macro-language scores
${common_paragraph}

This package holds the command-line tool bivox-cli and its manual page. It
needs no graphical libraries, so a server or a CI runner can install it alone.")

set(CPACK_DEBIAN_BIVOX_PACKAGE_NAME bivox)
set(CPACK_COMPONENT_BIVOX_DEPENDS bivox-cli)
# xdg-open hands scores and the HTML document to their programs; the texts are Japanese.
set(CPACK_DEBIAN_BIVOX_PACKAGE_RECOMMENDS "xdg-utils, fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_BIVOX_DESCRIPTION
    "desktop dialog for filtering Zerbo music-macro-language scores
${common_paragraph}

This package holds the Qt dialog Bivox with its Japanese guide texts and HTML
document, a desktop entry, an icon and the MIME type of .zrb scores, so that
file managers offer Bivox for them. The command-line tool is in bivox-cli.")

include(CPack)

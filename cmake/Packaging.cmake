# The release packages, made by cpack from the install rules (scripts/package.sh runs it):
# tarnwick_<version>_amd64.deb with the system layout under /usr (plug-ins, renderers, manual
# pages, documentation), its stripped-off debug information as tarnwick-dbgsym_<version>_amd64.ddeb.

# README, changelog and copyright where Debian keeps a package's documents.
set(_changelog_gz "${CMAKE_BINARY_DIR}/packaging/changelog.gz")
find_program(GZIP gzip)
if(GZIP)
  add_custom_command(OUTPUT "${_changelog_gz}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/packaging"
    COMMAND sh -c "${GZIP} -9n < \"$0\" > \"$1\"" "${PROJECT_SOURCE_DIR}/CHANGELOG.md" "${_changelog_gz}"
    DEPENDS "${PROJECT_SOURCE_DIR}/CHANGELOG.md"
    COMMENT "Compressing the changelog"
    VERBATIM)
  add_custom_target(tarnwick_changelog ALL DEPENDS "${_changelog_gz}")
  tarnwick_install(COMPONENT Documentation TYPE FILE PREFIX_DIR share/doc/tarnwick
                   FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/packaging/copyright"
                         "${_changelog_gz}")
endif()

set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "${TARNWICK_VENDOR}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo filtered-delay effect (VST 3, VST 2 and LV2 plug-in)")
set(CPACK_PACKAGE_DESCRIPTION "Tarnwick is a stereo delay with a resonant low-pass filter in its feedback
path, as a comb filter or as an echo, with eleven factory presets and its own
editor. The package holds the VST 3 bundle, the same module for VST 2 hosts,
the LV2 bundle and the tarnwick-render command-line renderers.")
set(TARNWICK_PACKAGE_MAINTAINER "${TARNWICK_VENDOR} <packages@tarnwick.audio>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TARNWICK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarnwick.audio/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies from the shared libraries the binaries link (dpkg-shlibdeps), none by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# The bundles' modules are plug-ins, not libraries: no shlibs file, no ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_STRIP_FILES OFF)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

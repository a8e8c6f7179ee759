# The Debian package, made by CPack: `cmake --build BUILD --target package`
# (or `cpack` in the build folder) writes brindlewick_VERSION_ARCH.deb. It
# holds what `cmake --install` installs, below /usr, plus the copyright and
# the changelog in /usr/share/doc/brindlewick/.
#
# Included before the data folders: the manual pages use the release date
# read here.

include(GNUInstallDirs)

# The release's date and the homepage are written once, in the AppStream
# metainfo; the manual pages and the changelog take them from there.
set(BRINDLEWICK_METAINFO ${PROJECT_SOURCE_DIR}/data/io.github.brindlewick.Brindlewick.metainfo.xml.in)
file(STRINGS ${BRINDLEWICK_METAINFO} release_line REGEX "<release version=")
string(REGEX REPLACE ".*date=\"([0-9-]+)\".*" "\\1" BRINDLEWICK_RELEASE_DATE "${release_line}")
file(STRINGS ${BRINDLEWICK_METAINFO} homepage_line REGEX "<url type=\"homepage\">")
string(REGEX REPLACE ".*<url type=\"homepage\">([^<]+)</url>.*" "\\1" BRINDLEWICK_HOMEPAGE
    "${homepage_line}")
# The changelog wants the date as RFC 5322 says it, weekday included.
execute_process(COMMAND date -u -R -d "${BRINDLEWICK_RELEASE_DATE} 00:00"
    OUTPUT_VARIABLE BRINDLEWICK_RELEASE_DATE_RFC5322 OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)

set(BRINDLEWICK_MAINTAINER "Hollowfen <brindlewick@hollowfen.example.com>")
set(BRINDLEWICK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/brindlewick)

# Compresses input into output as Debian wants documentation: gzip -9, no
# name or time stamp inside, so the same input makes the same bytes.
function(brindlewick_gzip input output)
    add_custom_command(OUTPUT ${output}
        COMMAND gzip -9 -n -c ${input} > ${output}
        DEPENDS ${input}
        COMMENT "Compressing ${output}")
endfunction()

configure_file(${PROJECT_SOURCE_DIR}/data/package/changelog.in
    ${PROJECT_BINARY_DIR}/package/changelog @ONLY)
brindlewick_gzip(${PROJECT_BINARY_DIR}/package/changelog ${PROJECT_BINARY_DIR}/package/changelog.gz)
add_custom_target(brindlewick_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/package/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/data/package/copyright
    ${PROJECT_BINARY_DIR}/package/changelog.gz
    DESTINATION ${BRINDLEWICK_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brindlewick)
set(CPACK_PACKAGE_VENDOR Hollowfen)
set(CPACK_PACKAGE_CONTACT "${BRINDLEWICK_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "FAQ page maker working from a table of questions and answers")
set(CPACK_PACKAGE_DESCRIPTION
    "Brindlewick keeps the questions and answers of a FAQ page in a table,
together with the page title, the author and a description. Pick a design,
watch the finished page in a live preview while you edit, and export it as
an HTML page (code page 932) with its style sheets. The windows are in
Japanese.

The command brindlewick-cli makes pages and converts projects to and from
JSON and CSV in scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package holds no debugging information; lintian asks for stripped
# executables.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The window program is above all an editor of FAQ tables, whose pages it
# writes as it goes; Debian files such editors under "editors".
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BRINDLEWICK_HOMEPAGE}")
# The libraries come from the executables (dpkg-shlibdeps); what is loaded
# at run time is named by hand: the browser engine's helper process (which
# Debian's shlibs happen to name as well), a Japanese font for the windows
# and the pages, and Qt's own Japanese texts for its standard dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6webenginecore6-bin, fonts-noto-cjk | fonts-ipafont-gothic, qt6-translations-l10n")
# The desktop entry, the MIME type and the icons are registered by the
# file triggers of desktop-file-utils, shared-mime-info and
# hicolor-icon-theme: no maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

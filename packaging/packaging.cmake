# The Debian package: `cpack -G DEB` in a build folder packs everything that
# `cmake --install` installs (the copyright among it), under /usr, with a
# Debian changelog. The shared libraries the programs link give the
# dependencies on Qt (dpkg-shlibdeps); the fonts and the icon theme the
# program needs at run time are named here.
set(KESTROVALE_PACKAGE_MAINTAINER "The Kestrovale developers <kestrovale@example.org>"
    CACHE STRING "Maintainer field of the Debian package: name <address>")
set(KESTROVALE_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the package")

set(KV_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(KV_DEBIAN_VERSION ${PROJECT_VERSION}-${KESTROVALE_PACKAGE_RELEASE})
set(KV_PACKAGE_MAINTAINER ${KESTROVALE_PACKAGE_MAINTAINER})
# The date of the configuration (SOURCE_DATE_EPOCH, when set, fixes it).
string(TIMESTAMP KV_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

# The Debian changelog only into the package: an install by hand has no
# Debian revision. cpack installs this component besides the default one.
configure_file(${KV_PACKAGING}/changelog.Debian.in
               ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.Debian @ONLY)
install(CODE "
    set(KV_SOURCE \"${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.Debian\")
    set(KV_DESTINATION \"${CMAKE_INSTALL_DOCDIR}\")
    set(KV_NAME changelog.Debian)
    set(KV_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(KV_WORK \"${CMAKE_CURRENT_BINARY_DIR}/packaging/install-work\")
    include(\"${PROJECT_SOURCE_DIR}/resources/install_gzipped.cmake\")"
        COMPONENT debian EXCLUDE_FROM_ALL)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};Kestrovale;ALL;/"
                                 "${PROJECT_BINARY_DIR};Kestrovale;debian;/")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrovale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kestrovale developers")
set(CPACK_PACKAGE_CONTACT ${KESTROVALE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compose, solve, search and print orthodox chess problems")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${KV_PACKAGING}/description.txt)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KESTROVALE_PACKAGE_RELEASE})
# Not "games": Debian keeps that section for programs installed in /usr/games,
# and kestrovale-cli is a tool of its own.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window program and the printed pages draw with DejaVu Sans; the icon
# goes into the hicolor theme.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, hicolor-icon-theme")

include(CPack)

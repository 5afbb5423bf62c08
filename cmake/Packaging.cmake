# `cpack -G DEB` in the build folder makes sorvell_<version>_<arch>.deb from what the install
# rules put under /usr.
set(SORVELL_PACKAGE_MAINTAINER "Velmar <sorvell@velmar.nl>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvell)
set(CPACK_PACKAGE_VENDOR Velmar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Packages are installed as root: the files' owner is root and no directory is group-writable,
# whatever the umask of the user who built them.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The debug information stays in the build; the package carries stripped programs.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SORVELL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so shlibdeps cannot see them; without them the
# window cannot open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Qt's own words (file dialog, text menus) in the window's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "set up a Kuehn WD10 accessory decoder through a command station")
# CPack puts the summary in front of this.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Sorvell programs the address and the operating modes of a Kuehn WD10
four-way accessory decoder for a model railway, without a dedicated
programmer. It sends the accessory commands the decoder learns from through
the user's command station: an Intellibox or Twin-Center over LocoNet or in
P50X, a Lenz or Roco Multi-Maus system through a Lenz computer interface, a
Märklin 6050/6051 interface, or an SRCP 0.8 server.

The window speaks Dutch, English or German. The package also holds
sorvell-sim, a simulated command station for trying the program without
hardware.")

include(CPack)

# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh)
# makes vrask_1.0_amd64.deb from the install rules. Its library
# dependencies are read from the programs by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME vrask)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vrask developers")
set(CPACK_PACKAGE_CONTACT "Vrask developers <vrask@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small multiplayer tank arcade game for the local network")
set(CPACK_PACKAGE_DESCRIPTION "Up to eight players drive tracked vehicles through a walled maze seen from
above, raise shields and launch fireballs paid from an energy level, and
score frags. One program is both client and server over UDP; free places
are played by the computer; a random maze generator makes new maps.
vrask-server runs a game server without a window, also as a systemd
service, one instance per port.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vrask.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display back end as a plugin, which no program links and
# dpkg-shlibdeps therefore cannot see; without it the game cannot open a
# window. The rest of the line is computed.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The music is General MIDI rendered by FluidSynth; without a soundfont the
# game still runs, with effects but no music.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Every folder the package creates is 0755, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

# The Debian package quorvane_<version>_<arch>.deb, made by CPack's DEB
# generator from the install rules (scripts/package runs it):
#   /usr/games/quorvane, /usr/games/quorvane-cli   the programs, where Debian
#                        keeps games (the install rules put them in bin/;
#                        package_games_folder.cmake moves them)
#   /usr/share/quorvane  the data: the programs look in ../share/quorvane
#                        beside themselves, so the installed game finds it
#                        with no --data and no QUORVANE_DATA_DIR
#   /usr/share/{applications,mime,icons,metainfo,man,doc}  the rest of dist/
# The dependencies are read from the programs by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUORVANE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_games_folder.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "turn-based game of space conquest
Lead your race against the computer races across several worlds: planets
circle a star, earn gold, build ships in their docks and buy equipment;
ships fly, fight, carry ore from asteroids, capture planets and jump
between worlds. Between turns the worlds move, bodies collide and
instability tears regions out of one world and throws them into another.

The package holds the game window (quorvane), the headless tool
quorvane-cli (race files, new games, saved games as JSON, turns played
and map frames drawn without a window) and the shipped races.")
include(CPack)

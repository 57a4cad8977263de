# Run by CPack between the install into its staging folder and the packing:
# Debian keeps the programs of games in /usr/games, not /usr/bin. They still
# find their data in /usr/games/../share/quorvane.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr")
file(GLOB programs "${usr}/bin/*")
if(NOT programs)
  message(FATAL_ERROR "No program was installed into ${usr}/bin")
endif()
file(MAKE_DIRECTORY "${usr}/games")
foreach(program ${programs})
  get_filename_component(name "${program}" NAME)
  file(RENAME "${program}" "${usr}/games/${name}")
endforeach()
file(REMOVE_RECURSE "${usr}/bin")

# Where `cmake --install` puts the programs, the shipped game files, the
# desktop entry, icons, manual pages, metainfo and the service unit, and how
# the programs find the shipped files again. Included at the end of the top
# CMakeLists.txt, once every program target exists.
include(GNUInstallDirs)

set(VRASK_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/vrask)
# The programs look for share/vrask relative to their own folder, so an
# install to any prefix (or a package unpacked anywhere) finds its files.
# From the build folder they use the source tree's data/ instead.
file(RELATIVE_PATH VRASK_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/vrask)
set_source_files_properties(${CMAKE_SOURCE_DIR}/shell/game_folder.cpp PROPERTIES COMPILE_DEFINITIONS
  "VRASK_DATA_FROM_BIN=\"${VRASK_DATA_FROM_BIN}\";VRASK_BUILD_DIR=\"${CMAKE_BINARY_DIR}\";VRASK_SOURCE_DATA_DIR=\"${CMAKE_SOURCE_DIR}/data\"")

set(VRASK_PROGRAMS vrask-server)
foreach(program vrask vrask-bots)
  if(TARGET ${program})
    list(APPEND VRASK_PROGRAMS ${program})
  endif()
endforeach()
install(TARGETS ${VRASK_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Everything in data/ ships: maps, sound effects, music.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${VRASK_SHARE_DIR})

set(pkg ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${pkg}/org.example.vrask.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/vrask-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vrask.png)
endforeach()

# Manual pages and the changelog are installed compressed, as Debian wants.
set(VRASK_PAGES vrask.6 vrask-server.6)
if(TARGET vrask-bots)
  list(APPEND VRASK_PAGES vrask-bots.6)
endif()
set(VRASK_GZIPPED "")
foreach(page ${VRASK_PAGES} changelog)
  set(out ${CMAKE_BINARY_DIR}/packaging/${page}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND gzip -9nc ${pkg}/${page} > ${out}
    DEPENDS ${pkg}/${page} VERBATIM)
  list(APPEND VRASK_GZIPPED ${out})
endforeach()
add_custom_target(vrask_packaging_files ALL DEPENDS ${VRASK_GZIPPED})
# Everything the install rules take, without the tests (scripts/package.sh).
add_custom_target(vrask_installables)
add_dependencies(vrask_installables ${VRASK_PROGRAMS} vrask_packaging_files)
list(TRANSFORM VRASK_PAGES PREPEND ${CMAKE_BINARY_DIR}/packaging/ OUTPUT_VARIABLE VRASK_PAGE_FILES)
list(TRANSFORM VRASK_PAGE_FILES APPEND .gz)
install(FILES ${VRASK_PAGE_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${pkg}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vrask)

# The desktop entry and the service unit name the installed programs by
# their full path, so that they start whatever PATH holds (a package's
# /usr/games is not on every PATH). The files say /usr/bin/; the real folder
# is put in at install time, when the prefix is known (a package's is /usr).
function(vrask_install_naming_programs file destination)
  get_filename_component(name ${file} NAME)
  set(out ${CMAKE_BINARY_DIR}/packaging/configured/${name})
  install(CODE "
    file(READ \"${file}\" text)
    string(REPLACE \"/usr/bin/\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\" text \"\${text}\")
    file(WRITE \"${out}\" \"\${text}\")
    file(INSTALL \"${out}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${destination}\")")
endfunction()
vrask_install_naming_programs(${pkg}/vrask.desktop ${CMAKE_INSTALL_DATADIR}/applications)
vrask_install_naming_programs(${pkg}/vrask-server@.service lib/systemd/system)

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)

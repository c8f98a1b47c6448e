# Installing and packaging Solfira on Linux (the Windows installer: cmake/WindowsInstaller.cmake).
#
#   cmake --install BUILD [--prefix DIR]   the program, its menu entry, icons and AppStream data
#   make package                           a Debian package built by CPack (BUILD/solfira_*.deb)
#
# Everything a desktop needs is named after the application id SOLFIRA_APP_ID.

set(_solfira_desktop_dir ${PROJECT_SOURCE_DIR}/assets/desktop)

if(UNIX AND NOT APPLE)
  install(FILES ${_solfira_desktop_dir}/${SOLFIRA_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
  install(FILES ${_solfira_desktop_dir}/${SOLFIRA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
  # The rendered icons are already laid out as the hicolor theme wants them
  # (16x16/apps/it.solfira.Solfira.png ... scalable/apps/it.solfira.Solfira.svg).
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/icons/hicolor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT game
          FILES_MATCHING PATTERN "${SOLFIRA_APP_ID}.*")
  # The school's setting for every user of the PC (a Debian conffile: a school's edits survive
  # upgrades). The programs read it at /etc whatever the install prefix.
  install(FILES ${PROJECT_SOURCE_DIR}/assets/etc/solfira.conf DESTINATION /etc COMPONENT game)
  # The register is installed without the game on a teacher's PC: it carries the same
  # pictures under its own name (registro/CMakeLists.txt).

  # Each Debian package holds its copyright (machine-readable), the changelog and the manual
  # page of its program, the last two compressed as Debian wants them (gzip -9n: no name, no
  # time stamp, so the package is the same from one build to the next).
  set(_solfira_debian_dir ${PROJECT_SOURCE_DIR}/cmake/debian)
  set(_solfira_gz_dir ${PROJECT_BINARY_DIR}/packaging)
  set(_solfira_gz_files "")
  foreach(_source IN ITEMS ${_solfira_debian_dir}/changelog
                           ${PROJECT_SOURCE_DIR}/docs/man/solfira.6
                           ${PROJECT_SOURCE_DIR}/docs/man/solfira-registro.1)
    get_filename_component(_name ${_source} NAME)
    add_custom_command(OUTPUT ${_solfira_gz_dir}/${_name}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_solfira_gz_dir}
      COMMAND ${CMAKE_COMMAND} -E copy ${_source} ${_solfira_gz_dir}/${_name}
      COMMAND gzip -9nf ${_solfira_gz_dir}/${_name}
      DEPENDS ${_source} VERBATIM)
    list(APPEND _solfira_gz_files ${_solfira_gz_dir}/${_name}.gz)
  endforeach()
  add_custom_target(solfira_packaging_files ALL DEPENDS ${_solfira_gz_files})

  foreach(_component IN ITEMS game registro)
    set(_package solfira)
    if(_component STREQUAL "registro")
      set(_package solfira-registro)
    endif()
    install(FILES ${_solfira_debian_dir}/copyright ${_solfira_gz_dir}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${_package} COMPONENT ${_component})
  endforeach()
  install(FILES ${_solfira_gz_dir}/solfira.6.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
  install(FILES ${_solfira_gz_dir}/solfira-registro.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT registro)
endif()

# ---- CPack --------------------------------------------------------------------------------
# Two Debian packages from one build: solfira (the game, component "game") and
# solfira-registro (the teacher's register, component "registro"). Neither needs the other: a
# pupil's PC installs the game alone, a teacher's PC may install the register alone.
set(CPACK_PACKAGE_NAME "solfira")
set(CPACK_PACKAGE_VENDOR "Solfira")
set(CPACK_PACKAGE_VERSION "${SOLFIRA_VERSION_TEXT}")
# The value CPack itself takes when no summary is given: with it, the first line of each
# package's own description is that package's synopsis.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://solfira.invalid/")
set(CPACK_PACKAGE_CONTACT "Solfira <maintainers@solfira.invalid>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_COMPONENTS_ALL game registro)

if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR "DEB")
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # solfira_<version>_amd64.deb, solfira-registro_...
  set(CPACK_DEBIAN_PACKAGE_SECTION "education")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
  # The Qt and C++ libraries are found from what each program links (dpkg-shlibdeps); what a
  # program loads at run time is named here. Both: Qt's own texts in Italian (dialog buttons,
  # command-line messages) and the fonts with the metrics of Arial and Times New Roman that the
  # layout is made for. The X11 platform plugin and the GIF, ICO and BMP readers the game's
  # pictures need are part of libqt6gui6, which the programs link; the register's icon engine for
  # the scalable icon (libqt6svg6) is only recommended: the icon comes in PNG sizes too.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(_solfira_run_depends "qt6-translations-l10n, fonts-liberation2, fonts-dejavu-core")

  set(CPACK_DEBIAN_GAME_PACKAGE_NAME "solfira")
  set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "${_solfira_run_depends}")
  set(CPACK_DEBIAN_GAME_PACKAGE_RECOMMENDS "at-spi2-core")
  set(CPACK_DEBIAN_GAME_PACKAGE_SUGGESTS "orca, solfira-registro")
  file(WRITE ${PROJECT_BINARY_DIR}/packaging/game/conffiles "/etc/solfira.conf\n")
  set(CPACK_DEBIAN_GAME_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/packaging/game/conffiles)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_DEBIAN_GAME_DESCRIPTION
      "${PROJECT_DESCRIPTION}\n\
Solfira mostra un numero decimale (3,25) e l'alunno scrive la frazione\n\
ridotta ai minimi termini (13/4). Tiene il conto delle risposte, il record\n\
della scuola e un registro per ogni classe. Si gioca con la sola tastiera,\n\
anche con un lettore di schermo.")

  set(CPACK_DEBIAN_REGISTRO_PACKAGE_NAME "solfira-registro")
  set(CPACK_DEBIAN_REGISTRO_PACKAGE_DEPENDS "${_solfira_run_depends}")
  set(CPACK_DEBIAN_REGISTRO_PACKAGE_RECOMMENDS "libqt6svg6")
  set(CPACK_DEBIAN_REGISTRO_PACKAGE_SUGGESTS "solfira")
  set(CPACK_DEBIAN_REGISTRO_DESCRIPTION
      "Registro delle partite di Solfira, per l'insegnante\n\
Legge in sola lettura la cartella dei dati del gioco Solfira e mostra, per\n\
ogni classe, le gare in una tabella ordinabile, un riepilogo per alunno e i\n\
grafici dei punteggi; esporta in CSV e stampa in PDF. Si aggiorna quando\n\
arrivano nuove gare.")
endif()

include(CPack)

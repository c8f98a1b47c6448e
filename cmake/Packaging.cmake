# Installing and packaging Solfira.
#
#   cmake --install BUILD [--prefix DIR]   the program, its menu entry, icons and AppStream data
#   make package                           a Debian package built by CPack (BUILD/solfira_*.deb)
#
# Everything a desktop needs is named after the application id SOLFIRA_APP_ID.

set(_solfira_desktop_dir ${PROJECT_SOURCE_DIR}/assets/desktop)

if(UNIX AND NOT APPLE)
  install(FILES ${_solfira_desktop_dir}/${SOLFIRA_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_solfira_desktop_dir}/${SOLFIRA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The rendered icons are already laid out as the hicolor theme wants them
  # (16x16/apps/it.solfira.Solfira.png ... scalable/apps/it.solfira.Solfira.svg).
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/icons/hicolor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
          FILES_MATCHING PATTERN "${SOLFIRA_APP_ID}.*")
endif()

# Windows: the version resource and the icon go into the executable, which is a GUI program
# (app/CMakeLists.txt declares it WIN32).
if(WIN32)
  enable_language(RC)
  set(SOLFIRA_ICON_FILE ${PROJECT_SOURCE_DIR}/assets/icons/solfira.ico)
  string(REPLACE "." "," SOLFIRA_VERSION_COMMAS "${PROJECT_VERSION}") # 1.0.0.6 -> 1,0,0,6
  configure_file(${PROJECT_SOURCE_DIR}/assets/windows/solfira.rc.in
                 ${PROJECT_BINARY_DIR}/app/solfira.rc @ONLY)
  target_sources(solfira PRIVATE ${PROJECT_BINARY_DIR}/app/solfira.rc)
endif()

# ---- CPack --------------------------------------------------------------------------------
set(CPACK_PACKAGE_NAME "solfira")
set(CPACK_PACKAGE_VENDOR "Solfira")
set(CPACK_PACKAGE_VERSION "${SOLFIRA_VERSION_TEXT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://solfira.invalid/")
set(CPACK_PACKAGE_CONTACT "Solfira <maintainers@solfira.invalid>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})

if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR "DEB")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # solfira_1.00.0006_amd64.deb
  set(CPACK_DEBIAN_PACKAGE_SECTION "education")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
  # The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the text under it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Solfira mostra un numero decimale (3,25) e l'alunno scrive la frazione ridotta ai\n\
minimi termini (13/4). Tiene il conto delle risposte, il record della scuola e un\n\
registro per ogni classe. Si gioca con la sola tastiera, anche con un\n\
lettore di schermo.")
  # The Qt and C++ libraries are found from what the program links (dpkg-shlibdeps); what
  # the program loads at run time is named here: Italian texts of Qt's own dialog buttons
  # and the fonts with the metrics of Arial and Times New Roman that the layout is made for.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation2, fonts-dejavu-core")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "at-spi2-core")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "orca")
elseif(WIN32)
  set(CPACK_GENERATOR "ZIP")
endif()

include(CPack)

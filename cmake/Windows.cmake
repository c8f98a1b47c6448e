# The Windows build (make windows): static programs against the static Qt that
# scripts/windows/build-qt.sh makes, each one self-contained .exe with no DLL beside it.

# The C and C++ runtimes and libgcc linked in too; symbols stripped.
add_link_options(-static -s)

# Qt's own Italian texts (the "Sì"/"No" of the exit question, "Annulla") carried inside the
# programs, where platform::installQtTranslation looks first: a Windows PC has no Qt folder.
find_file(SOLFIRA_QT_ITALIAN qtbase_it.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# The icon, the manifest (asInvoker, per-monitor DPI aware, Windows 10 and 11) and the version
# resource, in Italian, of the program `target`.
function(solfira_windows_resources target description)
  set(SOLFIRA_EXE_NAME ${target})
  set(SOLFIRA_EXE_DESCRIPTION "${description}")
  set(SOLFIRA_ICON_FILE ${PROJECT_SOURCE_DIR}/assets/icons/solfira.ico)
  set(SOLFIRA_MANIFEST_FILE ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  string(REPLACE "." "," SOLFIRA_VERSION_COMMAS "${PROJECT_VERSION}") # 1.2.0.3 -> 1,2,0,3
  configure_file(${PROJECT_SOURCE_DIR}/assets/windows/solfira.manifest
                 ${SOLFIRA_MANIFEST_FILE} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/assets/windows/solfira.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc APPEND PROPERTY
               OBJECT_DEPENDS ${SOLFIRA_MANIFEST_FILE} ${SOLFIRA_ICON_FILE})
endfunction()

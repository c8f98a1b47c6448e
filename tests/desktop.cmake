# The files a desktop reads (menu entry, AppStream data) and the command line of the program.
set(_solfira_desktop_file ${PROJECT_SOURCE_DIR}/assets/desktop/${SOLFIRA_APP_ID}.desktop)
set(_solfira_metainfo_file ${PROJECT_SOURCE_DIR}/assets/desktop/${SOLFIRA_APP_ID}.metainfo.xml)

find_program(SOLFIRA_DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(SOLFIRA_APPSTREAMCLI appstreamcli)
# A validator that is missing fails its test rather than skipping it (scripts/deps.sh
# installs both: desktop-file-utils, appstream).
if(NOT SOLFIRA_DESKTOP_FILE_VALIDATE)
  set(SOLFIRA_DESKTOP_FILE_VALIDATE desktop-file-validate)
endif()
if(NOT SOLFIRA_APPSTREAMCLI)
  set(SOLFIRA_APPSTREAMCLI appstreamcli)
endif()

add_test(NAME desktop_entry_valid
         COMMAND ${SOLFIRA_DESKTOP_FILE_VALIDATE} ${_solfira_desktop_file})
add_test(NAME desktop_metainfo_valid
         COMMAND ${SOLFIRA_APPSTREAMCLI} validate --no-net ${_solfira_metainfo_file})
# The metainfo names this application id (its release: the test version_in_documents).
add_test(NAME desktop_metainfo_id
         COMMAND grep -q "<id>${SOLFIRA_APP_ID}</id>" ${_solfira_metainfo_file})
# desktop-file-validate warns without failing; a warning counts as a failure here.
set_tests_properties(desktop_entry_valid PROPERTIES FAIL_REGULAR_EXPRESSION "warning|error")

add_test(NAME command_line
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/command_line.py
                 --solfira $<TARGET_FILE:solfira> --registro $<TARGET_FILE:solfira-registro>
                 --version-text ${SOLFIRA_VERSION_TEXT})
set_tests_properties(command_line PROPERTIES TIMEOUT 120)

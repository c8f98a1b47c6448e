# The built game played end to end, the way a pupil with a screen reader plays it: its own
# X server, D-Bus session and accessibility bus, driven over AT-SPI and with xdotool
# (packages xvfb, xdotool, dbus-daemon, at-spi2-core, python3-gi, gir1.2-atspi-2.0).
add_test(NAME e2e_play
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/play_solfira.py
                 --solfira $<TARGET_FILE:solfira>)
# The driver gives up by itself after 90 s and cleans up; this is the last resort.
set_tests_properties(e2e_play PROPERTIES TIMEOUT 150 LABELS e2e)
solfira_needs_real_locales(e2e_play)

# The same game where the user's locale is German (decimal comma, dotted date) or American
# English (decimal point): numbers and dates follow the locale, with the C library's data there.
foreach(locale de_DE en_US)
  add_test(NAME e2e_play_${locale}
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/play_solfira.py
                   --solfira $<TARGET_FILE:solfira> --locale ${locale}.UTF-8)
  set_tests_properties(e2e_play_${locale} PROPERTIES TIMEOUT 150 LABELS e2e)
  solfira_needs_real_locales(e2e_play_${locale})
endforeach()

# Two games played with the built game, then the teacher's register opened on their data
# folder and its games table read over AT-SPI.
if(TARGET solfira-registro)
  add_test(NAME e2e_register
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/read_register.py
                   --solfira $<TARGET_FILE:solfira> --registro $<TARGET_FILE:solfira-registro>)
  # The driver gives up by itself after 60 s and cleans up; this is the last resort.
  set_tests_properties(e2e_register PROPERTIES TIMEOUT 120 LABELS e2e)
  solfira_needs_real_locales(e2e_register)
endif()

# A whole competition played by ear: the screen reader Orca reads the game through
# speech-dispatcher (packages orca, speech-dispatcher, speech-dispatcher-espeak-ng, espeak-ng,
# libao4), the keyboard plays it, and what was spoken is checked line by line.
add_test(NAME e2e_orca
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/hear_solfira.py
                 --solfira $<TARGET_FILE:solfira>)
# The driver gives up by itself after 90 s and cleans up; this is the last resort. Its Orca
# and speech server are its own, but two of them at once would only slow each other down.
set_tests_properties(e2e_orca PROPERTIES TIMEOUT 150 LABELS e2e RESOURCE_LOCK screen_reader)
solfira_needs_real_locales(e2e_orca)

# A school's shared data folder: what pupils may leave in it (links, a pipe, a folder, a full
# disk...) and two games ending at the same moment, two rounds of them.
add_test(NAME e2e_shared_folder
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/shared_folder.py
                 --solfira $<TARGET_FILE:solfira> --rounds 2)
# Games ending together are timed against each other: alone on the machine.
set_tests_properties(e2e_shared_folder PROPERTIES TIMEOUT 150 LABELS e2e RUN_SERIAL TRUE)
solfira_needs_real_locales(e2e_shared_folder)

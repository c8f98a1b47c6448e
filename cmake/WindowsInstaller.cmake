# The Windows installer, built with Debian's makensis from assets/windows/installer.nsi:
#   cmake --build BUILD --target installer   ->  BUILD/solfira-<version>-setup.exe
# Its licence page shows Solfira's GPL followed by the third-party notices of the static
# programs, written by scripts/windows/notices.sh from the Qt build in SOLFIRA_QT_CACHE (the
# folder scripts/windows/build-qt.sh made; by default the one holding the Qt in use).
# The notices alone are the file SOLFIRA_NOTICES_FILE, made by the target solfira_notices, for
# the programs' About box: include this file before the programs' folders to use them there.
# tests/windows/check_installer.sh checks the installer under Wine.

get_filename_component(_solfira_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
find_program(SOLFIRA_MAKENSIS makensis)
find_program(SOLFIRA_BASH bash)
find_program(SOLFIRA_PYTHON3 python3)
# The Qt in use is CACHE/prefix, its package files CACHE/prefix/lib/cmake/Qt6.
get_filename_component(_solfira_qt_guess "${Qt6_DIR}/../../../.." ABSOLUTE)
if(NOT EXISTS "${_solfira_qt_guess}/version.txt")
  set(_solfira_qt_guess "")
endif()
set(SOLFIRA_QT_CACHE "${_solfira_qt_guess}" CACHE PATH
    "The Qt for Windows cache folder of scripts/windows/build-qt.sh, for the notices")

set(_solfira_dir "${PROJECT_BINARY_DIR}/installer")
set(SOLFIRA_NOTICES_FILE "${_solfira_dir}/notices.txt")
set(_solfira_licence "${_solfira_dir}/licenza.txt")
set(_solfira_setup "${PROJECT_BINARY_DIR}/solfira-${SOLFIRA_VERSION_TEXT}-setup.exe")

# A target that cannot be built still exists, and says why.
function(_solfira_unavailable target what)
  string(JOIN ", " _missing ${ARGN})
  message(STATUS "${what}: not available, missing ${_missing}")
  add_custom_target(${target}
    COMMAND ${CMAKE_COMMAND} -E echo "${what} needs ${_missing}"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endfunction()

set(_solfira_missing "")
if(NOT SOLFIRA_BASH)
  list(APPEND _solfira_missing "bash")
endif()
if(NOT SOLFIRA_PYTHON3)
  list(APPEND _solfira_missing "python3")
endif()
if(NOT EXISTS "${SOLFIRA_QT_CACHE}/complete")
  list(APPEND _solfira_missing "a complete Qt cache folder in SOLFIRA_QT_CACHE")
endif()
if(_solfira_missing)
  _solfira_unavailable(solfira_notices "The third-party notices" ${_solfira_missing})
else()
  add_custom_command(
    OUTPUT "${SOLFIRA_NOTICES_FILE}" "${_solfira_licence}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${_solfira_dir}"
    COMMAND "${SOLFIRA_BASH}" scripts/windows/notices.sh "${SOLFIRA_QT_CACHE}"
            "${SOLFIRA_NOTICES_FILE}"
    COMMAND "${SOLFIRA_BASH}" scripts/windows/notices.sh --license LICENSE
            "${SOLFIRA_QT_CACHE}" "${_solfira_licence}"
    DEPENDS "${_solfira_root}/scripts/windows/notices.sh"
            "${_solfira_root}/scripts/windows/qt-licenses.sh"
            "${_solfira_root}/LICENSE"
            "${SOLFIRA_QT_CACHE}/complete"
            "${SOLFIRA_QT_CACHE}/version.txt"
            "${SOLFIRA_QT_CACHE}/patches.txt"
            "${SOLFIRA_QT_CACHE}/options.txt"
    WORKING_DIRECTORY "${_solfira_root}"
    COMMENT "Third-party notices of the Windows programs"
    VERBATIM)
  add_custom_target(solfira_notices DEPENDS "${SOLFIRA_NOTICES_FILE}" "${_solfira_licence}")
endif()

if(NOT SOLFIRA_MAKENSIS)
  list(APPEND _solfira_missing "makensis (package nsis)")
endif()
if(_solfira_missing)
  _solfira_unavailable(installer "The Windows installer" ${_solfira_missing})
  return()
endif()
# The programs are named as targets: they may be defined after this file is included.
add_custom_command(
  OUTPUT "${_solfira_setup}"
  COMMAND "${SOLFIRA_MAKENSIS}" -V2 -NOCD
          "-DVERSION=${SOLFIRA_VERSION_TEXT}"
          "-DVI_VERSION=${Solfira_VERSION}"
          "-DGAME_EXE=$<TARGET_FILE:solfira>"
          "-DREGISTER_EXE=$<TARGET_FILE:solfira-registro>"
          "-DLICENSE_FILE=${_solfira_licence}"
          "-DICON=${_solfira_root}/assets/icons/solfira.ico"
          "-DOUTFILE=${_solfira_setup}"
          "${_solfira_root}/assets/windows/installer.nsi"
  DEPENDS solfira solfira-registro "${_solfira_licence}"
          "${_solfira_root}/assets/windows/installer.nsi"
          "${_solfira_root}/assets/icons/solfira.ico"
  COMMENT "Windows installer ${_solfira_setup}"
  VERBATIM)
add_custom_target(installer DEPENDS "${_solfira_setup}")
add_dependencies(installer solfira_notices)

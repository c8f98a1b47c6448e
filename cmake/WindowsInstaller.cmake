# The Windows installers, the setup program and the MSI package, and the policy templates:
#   cmake --build BUILD --target installer  ->  BUILD/solfira-<version>-setup.exe, by makensis
#                                               from assets/windows/installer.nsi
#   cmake --build BUILD --target msi        ->  BUILD/solfira-<version>.msi, by wixl from
#                                               assets/windows/solfira.wxs (scripts/windows/msi.sh)
#   BUILD/policy/                           the administrative templates (ADMX, ADML) of the
#                                           school-wide setting, copied at configure time; both
#                                           installers put them in the program folder too
# The setup's licence page shows Solfira's GPL followed by the third-party notices of the static
# programs, written by scripts/windows/notices.sh from the Qt build in SOLFIRA_QT_CACHE (the
# folder scripts/windows/build-qt.sh made; by default the one holding the Qt in use).
# The notices alone are the file SOLFIRA_NOTICES_FILE, made by the target solfira_notices, for
# the programs' About box: include this file before the programs' folders to use them there.
# tests/windows/check_installer.sh and check_msi.sh check them under Wine.

get_filename_component(_solfira_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
find_program(SOLFIRA_MAKENSIS makensis)
find_program(SOLFIRA_WIXL wixl)
find_program(SOLFIRA_MSIBUILD msibuild)
find_program(SOLFIRA_MSIINFO msiinfo)
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
set(_solfira_msi "${PROJECT_BINARY_DIR}/solfira-${SOLFIRA_VERSION_TEXT}.msi")

set(SOLFIRA_POLICY_DIR "${PROJECT_BINARY_DIR}/policy")
set(_solfira_policy_files solfira.admx it-IT/solfira.adml en-US/solfira.adml)
set(_solfira_policy "")
foreach(_file IN LISTS _solfira_policy_files)
  configure_file("${_solfira_root}/assets/windows/policy/${_file}" "${SOLFIRA_POLICY_DIR}/${_file}"
                 COPYONLY)
  list(APPEND _solfira_policy "${SOLFIRA_POLICY_DIR}/${_file}")
endforeach()

# The MSI's ProductVersion: major.minor.revision without leading zeros (1.02.0003 -> 1.2.3), the
# three numbers Windows Installer compares, at most 255.255.65535.
set(SOLFIRA_MSI_VERSION
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
if(PROJECT_VERSION_MAJOR GREATER 255 OR PROJECT_VERSION_MINOR GREATER 255
   OR PROJECT_VERSION_TWEAK GREATER 65535)
  message(FATAL_ERROR "The version ${SOLFIRA_VERSION_TEXT} is beyond an MSI's 255.255.65535")
endif()

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

set(_solfira_nsis_missing ${_solfira_missing})
if(NOT SOLFIRA_MAKENSIS)
  list(APPEND _solfira_nsis_missing "makensis (package nsis)")
endif()
if(_solfira_nsis_missing)
  _solfira_unavailable(installer "The Windows installer" ${_solfira_nsis_missing})
else()
  # The programs are named as targets: they may be defined after this file is included.
  add_custom_command(
    OUTPUT "${_solfira_setup}"
    COMMAND "${SOLFIRA_MAKENSIS}" -V2 -NOCD
            "-DVERSION=${SOLFIRA_VERSION_TEXT}"
            "-DVI_VERSION=${Solfira_VERSION}"
            "-DGAME_EXE=$<TARGET_FILE:solfira>"
            "-DREGISTER_EXE=$<TARGET_FILE:solfira-registro>"
            "-DLICENSE_FILE=${_solfira_licence}"
            "-DPOLICY_DIR=${SOLFIRA_POLICY_DIR}"
            "-DICON=${_solfira_root}/assets/icons/solfira.ico"
            "-DOUTFILE=${_solfira_setup}"
            "${_solfira_root}/assets/windows/installer.nsi"
    DEPENDS solfira solfira-registro "${_solfira_licence}" ${_solfira_policy}
            "${_solfira_root}/assets/windows/installer.nsi"
            "${_solfira_root}/assets/icons/solfira.ico"
    COMMENT "Windows installer ${_solfira_setup}"
    VERBATIM)
  add_custom_target(installer DEPENDS "${_solfira_setup}")
  add_dependencies(installer solfira_notices)
endif()

set(_solfira_msi_missing ${_solfira_missing})
if(NOT SOLFIRA_WIXL)
  list(APPEND _solfira_msi_missing "wixl (package wixl)")
endif()
if(NOT SOLFIRA_MSIBUILD OR NOT SOLFIRA_MSIINFO)
  list(APPEND _solfira_msi_missing "msibuild and msiinfo (package msitools)")
endif()
if(_solfira_msi_missing)
  _solfira_unavailable(msi "The MSI package" ${_solfira_msi_missing})
  return()
endif()
# The defines of solfira.wxs, kept in a file: the check builds a later version from them.
set(_solfira_msi_defines "${_solfira_dir}/msi-defines.txt")
file(GENERATE OUTPUT "${_solfira_msi_defines}" CONTENT "Version=${SOLFIRA_MSI_VERSION}
VersionText=${SOLFIRA_VERSION_TEXT}
GameExe=$<TARGET_FILE:solfira>
RegisterExe=$<TARGET_FILE:solfira-registro>
Licence=${_solfira_licence}
Icon=${_solfira_root}/assets/icons/solfira.ico
PolicyDir=${SOLFIRA_POLICY_DIR}
")
add_custom_command(
  OUTPUT "${_solfira_msi}"
  COMMAND "${SOLFIRA_BASH}" "${_solfira_root}/scripts/windows/msi.sh" "${_solfira_msi}"
          "${_solfira_msi_defines}"
  DEPENDS solfira solfira-registro "${_solfira_licence}" ${_solfira_policy}
          "${_solfira_msi_defines}"
          "${_solfira_root}/assets/windows/solfira.wxs"
          "${_solfira_root}/scripts/windows/msi.sh"
          "${_solfira_root}/assets/icons/solfira.ico"
  COMMENT "Windows MSI package ${_solfira_msi}"
  VERBATIM)
add_custom_target(msi DEPENDS "${_solfira_msi}")
add_dependencies(msi solfira_notices)

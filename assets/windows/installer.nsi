; The Windows installer of Solfira: the game and the teacher's register for all the users of a
; computer, in Program Files, with their Start-menu shortcuts and an uninstaller.
; Built by cmake/WindowsInstaller.cmake (target `installer`), which passes with /D:
;   VERSION       the version as shown, SOLFIRA_VERSION_TEXT of CMakeLists.txt
;   VI_VERSION    the same in four numbers for the file's version resource, PROJECT_VERSION
;   GAME_EXE      solfira.exe            REGISTER_EXE  solfira-registro.exe
;   LICENSE_FILE  Solfira's GPL followed by the third-party notices (scripts/windows/notices.sh)
;   POLICY_DIR    the administrative templates: solfira.admx, it-IT\ and en-US\solfira.adml
;   ICON          the .ico of the installer and uninstaller
;   OUTFILE       the setup program to write, solfira-VERSION-setup.exe
; Silent use, for a school's IT:
;   solfira-setup.exe /S [/DATADIR=\\server\share\solfira] [/D=C:\other\folder]
;   /DATADIR=FOLDER  the shared folder of the records and class logs (registry value DataDir
;                    under HKLM\Software\Solfira, read by the game and the register);
;   /DATADIR=        (empty) no shared folder: each computer keeps its own data;
;   without /DATADIR an update keeps the folder chosen before;
;   a folder with spaces: /DATADIR="D:\Dati di Solfira" (or the whole option in quotes).
;   /D=FOLDER        the program folder; NSIS wants it last on the command line.
;   uninstall.exe /S removes the programs, shortcuts and registry keys; never any data file.
; A /DATADIR that is not a full path (X:\... or \\server\...) ends the setup with exit code 2.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; The two programs share most of their code (Qt): a dictionary larger than one of them lets
; the second be packed as references to the first.
SetCompressorDictSize 32

!macro Required NAME
  !ifndef ${NAME}
    !error "${NAME} must be given with /D${NAME}=... (see the top of this file)"
  !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required VI_VERSION
!insertmacro Required GAME_EXE
!insertmacro Required REGISTER_EXE
!insertmacro Required LICENSE_FILE
!insertmacro Required POLICY_DIR
!insertmacro Required ICON
!insertmacro Required OUTFILE

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define SETTINGS_KEY "Software\Solfira"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Solfira"
!define LICENSE_NAME "Solfira-licenza.txt"

Name "Solfira"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Solfira"
InstallDirRegKey HKLM "${SETTINGS_KEY}" "InstallDir"
RequestExecutionLevel admin
ManifestDPIAware true
BrandingText "Solfira ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

; The shared data folder: as given (/DATADIR, the page) or as found in the registry.
Var DataDir
; 1 when the folder was chosen in this run, so DataDir is written (or removed when empty).
Var DataDirChosen
Var DataDirField

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Solfira è software libero: la GNU GPL permette di usarlo, \
copiarlo, studiarlo e modificarlo; non occorre accettarla per usare il programma."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
Page custom DataDirPage DataDirPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Italian"

VIProductVersion "${VI_VERSION}"
VIFileVersion "${VI_VERSION}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductName" "Solfira"
VIAddVersionKey /LANG=${LANG_ITALIAN} "CompanyName" "Solfira"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileDescription" "Installazione di Solfira"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "LegalCopyright" "Copyright (C) 2026 Solfira"
VIAddVersionKey /LANG=${LANG_ITALIAN} "Comments" \
  "Installa Solfira, il gioco dei numeri decimali come frazioni, e il registro dell'insegnante"

; The folder in $0 without trailing backslashes, except a drive's root (C:\); sets the error
; flag when it is neither empty nor a full path (C:\... or \\server\...).
!macro NormaliseDataDir
  ${Do}
    StrCpy $1 $0 1 -1
    StrLen $2 $0
    ${IfThen} $1 != "\" ${|} ${ExitDo} ${|}
    ${IfThen} $2 <= 3 ${|} ${ExitDo} ${|}
    StrCpy $0 $0 -1
  ${Loop}
  ClearErrors
  ${If} $0 != ""
    StrCpy $1 $0 2
    StrCpy $2 $0 1 1
    StrCpy $3 $0 1 2
    ${If} $1 == "\\"
      StrLen $2 $0
      ${IfThen} $2 < 5 ${|} SetErrors ${|}
    ${ElseIf} $2 != ":"
    ${OrIf} $3 != "\"
      SetErrors
    ${EndIf}
  ${EndIf}
!macroend

; The option quoted whole, "/DATADIR=D:\Dati di Solfira" (as some tools quote arguments with
; spaces), which GetOptions does not see: its value in $R1 from the parameters in $R0; the
; error flag set when there is none.
Function QuotedDataDirOption
  StrLen $1 '"/DATADIR='
  StrCpy $2 0
  ${Do}
    StrCpy $3 $R0 $1 $2
    ${If} $3 == ""
      SetErrors
      Return
    ${EndIf}
    ${IfThen} $3 == '"/DATADIR=' ${|} ${ExitDo} ${|}
    IntOp $2 $2 + 1
  ${Loop}
  IntOp $2 $2 + $1
  StrCpy $3 $2
  ${Do}
    StrCpy $4 $R0 1 $3
    ${IfThen} $4 == "" ${|} ${ExitDo} ${|}
    ${IfThen} $4 == '"' ${|} ${ExitDo} ${|}
    IntOp $3 $3 + 1
  ${Loop}
  IntOp $3 $3 - $2
  StrCpy $R1 $R0 $3 $2
  ClearErrors
FunctionEnd

Function .onInit
  SetRegView 64
  SetShellVarContext all
  ReadRegStr $DataDir HKLM "${SETTINGS_KEY}" "DataDir"
  StrCpy $DataDirChosen 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/DATADIR=" $R1
  ${If} ${Errors}
    Call QuotedDataDirOption
  ${EndIf}
  ${IfNot} ${Errors}
    StrCpy $0 $R1
    !insertmacro NormaliseDataDir
    ${If} ${Errors}
      MessageBox MB_ICONSTOP "/DATADIR vuole un percorso completo, per esempio \
\\server\solfira o D:\Solfira: $R1" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    StrCpy $DataDir $0
    StrCpy $DataDirChosen 1
  ${EndIf}
FunctionEnd

Function DataDirPage
  !insertmacro MUI_HEADER_TEXT "Cartella dei dati condivisa" \
    "Dove Solfira tiene i record e i registri delle classi."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 48u "Se i computer della scuola devono condividere i record e \
i registri delle classi, indica la cartella condivisa in rete, per esempio \
\\server\solfira.$\r$\n$\r$\nLascia il campo vuoto per tenere i dati su ogni computer: \
nella cartella di Windows o, se non si può scrivere lì, nella cartella dell'utente."
  Pop $0
  ${NSD_CreateLabel} 0 54u 100% 10u "Cartella dei dati condivisa:"
  Pop $0
  ${NSD_CreateText} 0 66u 236u 13u "$DataDir"
  Pop $DataDirField
  ${NSD_CreateButton} 242u 65u 58u 15u "Sfoglia..."
  Pop $0
  ${NSD_OnClick} $0 DataDirBrowse
  ${NSD_CreateLabel} 0 92u 100% 20u "La disinstallazione di Solfira non cancella mai i \
record né i registri delle classi."
  Pop $0
  ${NSD_SetFocus} $DataDirField
  nsDialogs::Show
FunctionEnd

Function DataDirBrowse
  ${NSD_GetText} $DataDirField $0
  nsDialogs::SelectFolderDialog "Scegli la cartella dei dati condivisa" "$0"
  Pop $0
  ${If} $0 != error
    ${NSD_SetText} $DataDirField "$0"
  ${EndIf}
FunctionEnd

Function DataDirPageLeave
  ${NSD_GetText} $DataDirField $0
  !insertmacro NormaliseDataDir
  ${If} ${Errors}
    MessageBox MB_ICONEXCLAMATION "Indica un percorso completo, per esempio \\server\solfira \
o D:\Solfira, oppure lascia il campo vuoto."
    Abort
  ${EndIf}
  ${If} $0 != ""
  ${AndIfNot} ${FileExists} "$0\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION "La cartella $0 non esiste o non si raggiunge da \
questo computer.$\r$\n$\r$\nUsarla comunque?" IDYES +2
    Abort
  ${EndIf}
  StrCpy $DataDir $0
  StrCpy $DataDirChosen 1
FunctionEnd

Section "Solfira" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=solfira.exe" "${GAME_EXE}"
  File "/oname=solfira-registro.exe" "${REGISTER_EXE}"
  File "/oname=${LICENSE_NAME}" "${LICENSE_FILE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR\policy"
  File "${POLICY_DIR}/solfira.admx"
  SetOutPath "$INSTDIR\policy\it-IT"
  File "${POLICY_DIR}/it-IT/solfira.adml"
  SetOutPath "$INSTDIR\policy\en-US"
  File "${POLICY_DIR}/en-US/solfira.adml"
  SetOutPath "$INSTDIR"

  CreateDirectory "$SMPROGRAMS\Solfira"
  CreateShortcut "$SMPROGRAMS\Solfira\Solfira.lnk" "$INSTDIR\solfira.exe" "" \
    "$INSTDIR\solfira.exe" 0 SW_SHOWNORMAL "" "Il gioco dei numeri decimali come frazioni"
  CreateShortcut "$SMPROGRAMS\Solfira\Registro di Solfira.lnk" "$INSTDIR\solfira-registro.exe" \
    "" "$INSTDIR\solfira-registro.exe" 0 SW_SHOWNORMAL "" "Il registro dell'insegnante"

  WriteRegStr HKLM "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"
  ${If} $DataDirChosen == 1
    ${If} $DataDir == ""
      DeleteRegValue HKLM "${SETTINGS_KEY}" "DataDir"
    ${Else}
      WriteRegStr HKLM "${SETTINGS_KEY}" "DataDir" "$DataDir"
    ${EndIf}
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Solfira"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Solfira"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\solfira.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; Only what the setup wrote, file by file: whatever else is in these folders (records, class
; logs, anything a user put there) stays, and so do the folders that hold it.
Section "Uninstall"
  Delete "$INSTDIR\solfira.exe"
  Delete "$INSTDIR\solfira-registro.exe"
  Delete "$INSTDIR\${LICENSE_NAME}"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\policy\solfira.admx"
  Delete "$INSTDIR\policy\it-IT\solfira.adml"
  Delete "$INSTDIR\policy\en-US\solfira.adml"
  RMDir "$INSTDIR\policy\it-IT"
  RMDir "$INSTDIR\policy\en-US"
  RMDir "$INSTDIR\policy"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Solfira\Solfira.lnk"
  Delete "$SMPROGRAMS\Solfira\Registro di Solfira.lnk"
  RMDir "$SMPROGRAMS\Solfira"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
SectionEnd

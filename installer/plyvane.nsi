; The Plyvane installer. scripts/package builds it with these defines:
;   VERSION  the program's version (as its version resource has it)
;   STAGE    the folder of the release's files (plyvane.exe, the help, ...)
;   FILES    the generated list of those files (PlyvaneInstallFiles and
;            PlyvaneUninstallFiles)
;   IMAGES   the folder of the program's icons
;   OUTFILE  the installer to write
;
; Installing: per machine into Program Files (administrators), or per user
; into the user's own programs folder (no administrator rights needed).
;   setup.exe [/S] [/AllUsers | /CurrentUser] [/D=FOLDER]
; /S installs silently: per machine for an administrator, else per user.
; /D= must come last and may hold blanks without quotes.
;
; Uninstalling:
;   uninstall.exe [/S] [/REMOVESETTINGS]
; It asks whether to keep the user's settings; /S keeps them, and
; /REMOVESETTINGS removes them without asking.

Unicode true
SetCompressor /SOLID lzma

!define PRODUCT "Plyvane"
!define PUBLISHER "Brindlex"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plyvane"
!define SETTINGS_KEY "Software\Brindlex\Plyvane"
!define CONFIGURATION_KEY "${SETTINGS_KEY}\Playback\Configuration"
; The running player holds this global atom (its single-instance check).
!define INSTANCE_ATOM "Plyvane MPEG Audio Player"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}; MIT licence"

; Highest: an administrator may choose either mode, anyone else installs for
; themselves. The previous installation's folder and mode come back.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
; The uninstaller finds its installation's mode by itself (un.onInit).
!define MULTIUSER_NOUNINSTALL
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${FILES}"

!define MUI_ICON "${IMAGES}/setup.ico"
!define MUI_UNICON "${IMAGES}/uninstall.ico"
!define MUI_ABORTWARNING

; The MIT licence asks nothing of who installs: the page informs, no "I agree".
!define MUI_LICENSEPAGE_TEXT_TOP "Plyvane is free software, under the MIT licence:"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Click Next to continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/license.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Plyvane"
!define MUI_FINISHPAGE_RUN_FUNCTION StartPlyvane
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the help"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION ShowHelp
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ------------------------------------------------------------ both sides

; Asks a running Plyvane of this user to end (as its Exit does, so that it
; saves its settings) before its files are replaced or removed.
!macro CLOSE_RUNNING_PLYVANE PREFIX
Function ${PREFIX}CloseRunningPlyvane
    System::Call 'kernel32::GlobalFindAtomW(w "${INSTANCE_ATOM}") i .r0'
    ${If} $0 = 0
        Return
    ${EndIf}
    ReadRegDWORD $1 HKCU "${CONFIGURATION_KEY}" "RunningWindow"
    ${If} $1 = 0
        Return
    ${EndIf}
    IsWindow $1 +2
    Return  ; a stale entry: the window is gone
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Plyvane is running. It will be closed now." \
        /SD IDOK IDOK +2
    Abort
    SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $2 0
    ${DoWhile} $2 < 100
        IsWindow $1 +2
        Return
        Sleep 100
        IntOp $2 $2 + 1
    ${Loop}
    MessageBox MB_OK|MB_ICONSTOP "Plyvane did not end. Please end it and try again." /SD IDOK
    Abort
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PLYVANE ""
!insertmacro CLOSE_RUNNING_PLYVANE "un."

; ------------------------------------------------------------ installer

Function .onInit
    ; /D= has set the folder before this runs; the mode's default must not
    ; replace it.
    StrCpy $0 $INSTDIR
    !insertmacro MULTIUSER_INIT
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${EndIf}
FunctionEnd

; The installer may run with administrator rights: the program and the help
; start through the shell of the user instead, with the user's rights.
Function StartPlyvane
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\plyvane.exe"'
FunctionEnd

Function ShowHelp
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\plyvane.html"'
FunctionEnd

Section "Plyvane"
    SectionIn RO
    Call CloseRunningPlyvane
    !insertmacro PlyvaneInstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\plyvane.exe" "" \
        "$INSTDIR\plyvane.exe" 0 SW_SHOWNORMAL "" "Plays MPEG audio files, playlists and streams"

    ; SHCTX is the machine's or the user's key, as the mode chose.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\plyvane.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "HelpLink" "$INSTDIR\plyvane.html"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ------------------------------------------------------------ uninstaller

Var RemoveSettings

Function un.onInit
    ; This uninstaller belongs to the installation in its own folder: the
    ; user's when the user's entry names that folder, else the machine's.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext current
    ${Else}
        SetShellVarContext all
    ${EndIf}
    StrCpy $RemoveSettings 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        StrCpy $RemoveSettings 1
    ${EndIf}
FunctionEnd

; Sets $R0 to 1 when the verbs play ($R1) and open ($R2) start the program
; $R9 (its full path) or $R8 (the same in short form): quoted, as the program
; registers them now, or unquoted, as earlier versions did. The same rule as
; the program's own check; case does not matter in Windows paths.
!macro VERBS_START EXE
    ${If} $R1 == '"${EXE}" /play "%1"'
    ${OrIf} $R1 == '${EXE} /play %1'
        ${If} $R2 == '"${EXE}" "%1"'
        ${OrIf} $R2 == '${EXE} %1'
            StrCpy $R0 1
        ${EndIf}
    ${EndIf}
!macroend

Function un.VerbsStartThisCopy
    StrCpy $R0 0
    !insertmacro VERBS_START $R9
    !insertmacro VERBS_START $R8
FunctionEnd

; A file type is removed from ROOT's classes only while it still starts this
; copy; another program's type, or another copy's, stays.
!macro REMOVE_TYPE_IF_OURS ROOT TYPE
    ReadRegStr $R1 ${ROOT} "Software\Classes\${TYPE}\shell\play\command" ""
    ReadRegStr $R2 ${ROOT} "Software\Classes\${TYPE}\shell\open\command" ""
    Call un.VerbsStartThisCopy
    ${If} $R0 = 1
        DeleteRegKey ${ROOT} "Software\Classes\${TYPE}"
    ${EndIf}
!macroend

; $R0 = 1 when either classes tree still holds the type's key.
!macro TYPE_KEY_EXISTS TYPE
    StrCpy $R0 0
    ClearErrors
    EnumRegKey $R3 HKCU "Software\Classes\${TYPE}" 0
    ${IfNot} ${Errors}
        StrCpy $R0 1
    ${EndIf}
    ClearErrors
    EnumRegKey $R3 HKLM "Software\Classes\${TYPE}" 0
    ${IfNot} ${Errors}
        StrCpy $R0 1
    ${EndIf}
!macroend

; An extension that names a type no longer there loses that name, and the
; key goes when nothing else (another program's values) is in it.
!macro FORGET_EXTENSION ROOT EXTENSION TYPE
    ReadRegStr $R1 ${ROOT} "Software\Classes\${EXTENSION}" ""
    ${If} $R1 S== "${TYPE}"
        !insertmacro TYPE_KEY_EXISTS "${TYPE}"
        ${If} $R0 = 0
            DeleteRegValue ${ROOT} "Software\Classes\${EXTENSION}" ""
            EnumRegKey $R3 ${ROOT} "Software\Classes\${EXTENSION}" 0
            EnumRegValue $R4 ${ROOT} "Software\Classes\${EXTENSION}" 0
            ${If} $R3 == ""
            ${AndIf} $R4 == ""
                DeleteRegKey ${ROOT} "Software\Classes\${EXTENSION}"
            ${EndIf}
        ${EndIf}
    ${EndIf}
!macroend

!macro FORGET_EXTENSIONS ROOT
    !insertmacro FORGET_EXTENSION ${ROOT} ".mp2" "Plyvane.AudioFile"
    !insertmacro FORGET_EXTENSION ${ROOT} ".mp3" "Plyvane.AudioFile"
    !insertmacro FORGET_EXTENSION ${ROOT} ".l2" "Plyvane.AudioFile"
    !insertmacro FORGET_EXTENSION ${ROOT} ".l3" "Plyvane.AudioFile"
    !insertmacro FORGET_EXTENSION ${ROOT} ".pls" "Plyvane.PlaylistFile"
    !insertmacro FORGET_EXTENSION ${ROOT} ".m3u" "Plyvane.PlaylistFile"
!macroend

Function un.RemoveFileTypes
    StrCpy $R9 "$INSTDIR\plyvane.exe"
    GetFullPathName /SHORT $R8 $R9
    ; The program registers in the user's classes or the machine's (the
    ; latter only with the rights for it); both are looked at.
    !insertmacro REMOVE_TYPE_IF_OURS HKCU "Plyvane.AudioFile"
    !insertmacro REMOVE_TYPE_IF_OURS HKCU "Plyvane.PlaylistFile"
    !insertmacro REMOVE_TYPE_IF_OURS HKLM "Plyvane.AudioFile"
    !insertmacro REMOVE_TYPE_IF_OURS HKLM "Plyvane.PlaylistFile"
    !insertmacro FORGET_EXTENSIONS HKCU
    !insertmacro FORGET_EXTENSIONS HKLM
    ; Explorer shows the files' new icons at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
FunctionEnd

Section "Uninstall"
    Call un.CloseRunningPlyvane
    Call un.RemoveFileTypes
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"

    ${If} $RemoveSettings = 0
        MessageBox MB_YESNO|MB_ICONQUESTION "Do you want to keep your Plyvane settings?$\n$\n\
            They are the window's place and layout, the volume, the playback, buffer and \
            internet settings. Keep them when you mean to install Plyvane again." \
            /SD IDYES IDYES +2
        StrCpy $RemoveSettings 1
    ${EndIf}
    ${If} $RemoveSettings = 1
        DeleteRegKey HKCU "${SETTINGS_KEY}"
        DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
    ${EndIf}

    !insertmacro PlyvaneUninstallFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd

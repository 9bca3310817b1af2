; The Wavelume installer: Monitor, its device library and help, Regiopick,
; and optionally the adapter simulator and the German user interface.
;
; Built by the build (installer/CMakeLists.txt), which defines:
;   PRODUCT_NAME, PRODUCT_COMPANY, PRODUCT_VERSION   from the top-level CMakeLists.txt
;   RELEASE_BIN    the release build's bin/ folder: the files shipped
;   SOURCE_DIR     the source tree (docs/SIMULATOR.md)
;   GERMAN_DLL     the German resource module; its component exists only
;                  when the file does
;   OUTFILE        the setup program to write
;
; Command line, besides NSIS's own /S (silent) and /D=<folder> (last):
;   /SSID=<name> /CHANNEL=<number> /MODE=AdHoc|Infrastructure
;       the first-start settings written into the "\SETUP" key; they apply
;       only where no profile exists yet (a first installation)

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include Sections.nsh

!define APP_KEY       "SOFTWARE\${PRODUCT_COMPANY}\${PRODUCT_NAME}"
!define PROFILES_KEY  "${APP_KEY}\Profiles"
!define SETUP_KEY     "${APP_KEY}\SETUP"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_NAME}"
!define RUN_KEY       "Software\Microsoft\Windows\CurrentVersion\Run"
!define CARDS_KEY     "SOFTWARE\Microsoft\Windows NT\CurrentVersion\NetworkCards"
!define ZEROCONF_KEY  "Software\Microsoft\WZCSVC\Parameters\Interfaces"
!define ZEROCONF_SVC  "WZCSVC"
; The monitor's main window is titled with the product name; its tray
; menu's "Exit" command ends the program.
!define MONITOR_TITLE "${PRODUCT_NAME}"
!define MONITOR_EXIT  32774
; The adapter's description in the network-card list, as the monitor
; looks it up.
!define ADAPTER_DESC  "Wireless Card"
!define ENABLED_BIT   0x8000

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT_NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT_NAME} ${PRODUCT_VERSION}"

VIProductVersion "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PRODUCT_COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT_NAME} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2004 ${PRODUCT_COMPANY}"

Var MonitorWasRunning   ; a monitor was ended for the installation
Var SetupSsid
Var SetupChannel
Var SetupMode

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT_NAME} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartMonitorOnce
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---------------------------------------------------------------------------
; Shared by installer and uninstaller

; Ends a running monitor the way its tray menu's "Exit" does and waits for
; its process to end. Sets $0 to 1 when one was running, else 0.
!macro EndMonitor un
Function ${un}EndMonitor
    Push $1
    Push $2
    Push $3
    StrCpy $0 0
    FindWindow $1 "#32770" "${MONITOR_TITLE}"
    ${If} $1 <> 0
        StrCpy $0 1
        System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3'  ; SYNCHRONIZE
        SendMessage $1 ${WM_COMMAND} ${MONITOR_EXIT} 0 /TIMEOUT=5000
        ${If} $3 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p r3, i 15000)'
            System::Call 'kernel32::CloseHandle(p r3)'
        ${Else}
            ; Without a handle: wait for the window to go, then a little more.
            ${For} $2 1 50
                IsWindow $1 0 +2
                ${Break}
                Sleep 100
            ${Next}
            Sleep 500
        ${EndIf}
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
FunctionEnd
!macroend
!insertmacro EndMonitor ""
!insertmacro EndMonitor "un."

; ---------------------------------------------------------------------------
; Installer

Function .onInit
    SetShellVarContext all
    ${GetParameters} $R0
    StrCpy $SetupSsid "ANY"
    StrCpy $SetupChannel "6"
    StrCpy $SetupMode "Infrastructure"
    ClearErrors
    ${GetOptions} $R0 "/SSID=" $R1
    ${IfNot} ${Errors}
        StrLen $R2 $R1
        ${If} $R2 < 1
        ${OrIf} $R2 > 32
            StrCpy $R9 "/SSID= takes a network name of 1 to 32 characters."
            Call RefuseOptions
        ${EndIf}
        StrCpy $SetupSsid $R1
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/CHANNEL=" $R1
    ${IfNot} ${Errors}
        IntOp $R2 $R1 + 0
        ${If} "$R2" != "$R1"
        ${OrIf} $R2 < 1
        ${OrIf} $R2 > 200
            StrCpy $R9 "/CHANNEL= takes a channel number."
            Call RefuseOptions
        ${EndIf}
        StrCpy $SetupChannel $R2
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/MODE=" $R1
    ${IfNot} ${Errors}
        ${If} $R1 == "AdHoc"
            StrCpy $SetupMode "AdHoc"
        ${ElseIf} $R1 == "Infrastructure"
            StrCpy $SetupMode "Infrastructure"
        ${Else}
            StrCpy $R9 "/MODE= takes AdHoc or Infrastructure."
            Call RefuseOptions
        ${EndIf}
    ${EndIf}
FunctionEnd

; A command line option with a value the monitor could not use: nothing is
; installed (exit code 2).
Function RefuseOptions
    IfSilent +2
    MessageBox MB_ICONSTOP|MB_OK "$R9"
    SetErrorLevel 2
    Quit
FunctionEnd

Section "${PRODUCT_NAME}" SecProgram
    SectionIn RO
    Call EndMonitor
    StrCpy $MonitorWasRunning $0

    SetOutPath "$INSTDIR"
    File "${RELEASE_BIN}/Monitor.exe"
    File "${RELEASE_BIN}/nicport.dll"
    File "${RELEASE_BIN}/Monitor.chm"
    File "${RELEASE_BIN}/Regiopick.exe"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT_NAME}"
    CreateShortCut "$SMPROGRAMS\${PRODUCT_NAME}\${PRODUCT_NAME}.lnk" "$INSTDIR\Monitor.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT_NAME}\${PRODUCT_NAME} Help.lnk" "$INSTDIR\Monitor.chm"

    WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT_NAME}" '"$INSTDIR\Monitor.exe"'

    Call WriteSettings
SectionEnd

Section /o "Adapter simulator" SecSimulator
    SetOutPath "$INSTDIR"
    File "${RELEASE_BIN}/nicsim.exe"
    File "${SOURCE_DIR}/docs/SIMULATOR.md"
SectionEnd

!if /FileExists "${GERMAN_DLL}"
Section /o "German user interface" SecGerman
    SetOutPath "$INSTDIR"
    File "/oname=res.dll" "${GERMAN_DLL}"
SectionEnd
!endif

; Last: the entry in the list of installed programs, with the size of what
; the sections put down, and the monitor back in the tray.
Section "-Finish"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT_COMPANY}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Monitor.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

    ${IfNot} ${Silent}
        ; The country of use, once per interactive installation.
        ExecWait '"$INSTDIR\Regiopick.exe"'
    ${EndIf}
    ${If} $MonitorWasRunning = 1
        Exec '"$INSTDIR\Monitor.exe"'
    ${EndIf}
SectionEnd

; The first-start settings, for a first installation only (no profile yet):
; an armed "FirstStartup" makes the monitor overwrite the selected profile
; at its next start. The standard profile where there is none. Profiles a
; user already has, and the profile the monitor remembers, are never
; touched.
Function WriteSettings
    EnumRegKey $0 HKLM "${PROFILES_KEY}" 0
    ${If} $0 == ""
        WriteRegStr   HKLM "${SETUP_KEY}" "SSID" "$SetupSsid"
        WriteRegStr   HKLM "${SETUP_KEY}" "DSChannel" "$SetupChannel"
        WriteRegStr   HKLM "${SETUP_KEY}" "Mode" "$SetupMode"
        WriteRegDWORD HKLM "${SETUP_KEY}" "FirstStartup" 1
    ${EndIf}
    ClearErrors
    EnumRegValue $0 HKLM "${PROFILES_KEY}\DEFAULT" 0
    ${IfNot} ${Errors}
        Return
    ${EndIf}

    !define DEFAULT_KEY "${PROFILES_KEY}\DEFAULT"
    WriteRegStr   HKLM "${DEFAULT_KEY}" "ssid" "ANY"
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "operatingmode" 1
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "txrate" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "channel" 6
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "power" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "authype" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "wep.level" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "wep.auth" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "wep.keytype" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "wep.defkey" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "wep.ispassphrase" 0
    WriteRegStr   HKLM "${DEFAULT_KEY}" "wep.passphrase" ""
    WriteRegStr   HKLM "${DEFAULT_KEY}" "wep.keyperuser" ""
    WriteRegStr   HKLM "${DEFAULT_KEY}" "wep.key1" ""
    WriteRegStr   HKLM "${DEFAULT_KEY}" "wep.key2" ""
    WriteRegStr   HKLM "${DEFAULT_KEY}" "wep.key3" ""
    WriteRegStr   HKLM "${DEFAULT_KEY}" "wep.key4" ""
    WriteRegStr   HKLM "${DEFAULT_KEY}" "wpapsk.password" ""
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "adv.txpower" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "adv.qos" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "adv.preamble" 0
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "adv.scantype" 2
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "adv.rtsthreshold" 2347
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "adv.fragmentthreshold" 2346
    WriteRegDWORD HKLM "${DEFAULT_KEY}" "nettype" 0
FunctionEnd

; The finish page's "Start now": not when the installation restarted the
; monitor already.
Function StartMonitorOnce
    FindWindow $0 "#32770" "${MONITOR_TITLE}"
    ${If} $0 = 0
        Exec '"$INSTDIR\Monitor.exe"'
    ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The tray monitor, its device library and help, and the country selection."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulator} "nicsim.exe, which drives the simulated adapter, and its documentation."
!if /FileExists "${GERMAN_DLL}"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecGerman} "The monitor's texts in German."
!endif
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; ---------------------------------------------------------------------------
; Uninstaller

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "un.${PRODUCT_NAME}" UnSecProgram
    SectionIn RO
    Call un.EndMonitor

    Delete "$INSTDIR\Monitor.exe"
    Delete "$INSTDIR\nicport.dll"
    Delete "$INSTDIR\Monitor.chm"
    Delete "$INSTDIR\Regiopick.exe"
    Delete "$INSTDIR\nicsim.exe"
    Delete "$INSTDIR\SIMULATOR.md"
    Delete "$INSTDIR\res.dll"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT_NAME}\${PRODUCT_NAME}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT_NAME}\${PRODUCT_NAME} Help.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT_NAME}"

    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT_NAME}"
    DeleteRegKey HKLM "${SETUP_KEY}"

    Call un.GiveAdapterBack
SectionEnd

Section /o "un.My profiles and settings" UnSecProfiles
    DeleteRegKey HKLM "${APP_KEY}"
    DeleteRegKey /ifempty HKLM "SOFTWARE\${PRODUCT_COMPANY}"
SectionEnd

Section "-un.Finish"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The zero-configuration service manages the adapter again: its enabled
; bit set in the adapter's "ControlFlags" (the first card of the monitor's
; adapter description with a service name, and only a REG_DWORD value), and
; the service started if it is stopped.
Function un.GiveAdapterBack
    StrCpy $0 0
    ${Do}
        EnumRegKey $1 HKLM "${CARDS_KEY}" $0
        ${If} $1 == ""
            ${Break}
        ${EndIf}
        IntOp $0 $0 + 1
        ClearErrors
        ReadRegStr $2 HKLM "${CARDS_KEY}\$1" "Description"
        ${If} ${Errors}
            ${Continue}
        ${EndIf}
        ${IfNot} $2 S== "${ADAPTER_DESC}"
            ${Continue}
        ${EndIf}
        ReadRegStr $3 HKLM "${CARDS_KEY}\$1" "ServiceName"
        ${If} ${Errors}
        ${OrIf} $3 == ""
            ${Continue}
        ${EndIf}
        ClearErrors
        ReadRegDWORD $4 HKLM "${ZEROCONF_KEY}\$3" "ControlFlags"
        ${IfNot} ${Errors}
            IntOp $4 $4 | ${ENABLED_BIT}
            WriteRegDWORD HKLM "${ZEROCONF_KEY}\$3" "ControlFlags" $4
        ${EndIf}
        ${Break}
    ${Loop}

    ; SC_MANAGER_CONNECT; SERVICE_QUERY_STATUS | SERVICE_START
    System::Call 'advapi32::OpenSCManagerA(p 0, p 0, i 1) p .r0'
    ${If} $0 P<> 0
        System::Call 'advapi32::OpenServiceA(p r0, m "${ZEROCONF_SVC}", i 0x14) p .r1'
        ${If} $1 P<> 0
            ; SERVICE_STATUS: seven DWORDs; the second is the current state.
            System::Call '*(i, i, i, i, i, i, i) p .r2'
            System::Call 'advapi32::QueryServiceStatus(p r1, p r2) i .r3'
            System::Call '*$2(i, i .r4)'
            System::Free $2
            ${If} $3 <> 0
            ${AndIf} $4 = 1  ; SERVICE_STOPPED
                System::Call 'advapi32::StartServiceA(p r1, i 0, p 0)'
            ${EndIf}
            System::Call 'advapi32::CloseServiceHandle(p r1)'
        ${EndIf}
        System::Call 'advapi32::CloseServiceHandle(p r0)'
    ${EndIf}
FunctionEnd

; The Wavelume installer: Monitor, its device library (over Windows' own
; wireless API, or the simulated adapter) and help, Regiopick, and
; optionally the adapter simulator and the German user interface.
;
; Built by the build (installer/CMakeLists.txt), which defines:
;   PRODUCT_NAME, PRODUCT_COMPANY, PRODUCT_VERSION   from the top-level CMakeLists.txt
;   PROGRAM_BIN    the bin/ folder of the files to pack: the release build's
;                  for the shipped installer (native/nicport.dll in it too)
;   SOURCE_DIR     the source tree (docs/SIMULATOR.md)
;   GERMAN_DLL     the German resource module; its component exists only
;                  when the file does
;   OUTFILE        the setup program to write
;   TARGET_AMD64   (optional) a 64-bit installer of a 64-bit tree's
;                  programs, made only for the tests of that tree: its Wine
;                  runs no 32-bit code. What ships is the 32-bit installer.
;
; Command line, besides NSIS's own /S (silent) and /D=<folder> (last):
;   /SSID=<name> /CHANNEL=<number> /MODE=AdHoc|Infrastructure
;       the first-start settings written into the "\SETUP" key; they apply
;       only where no profile exists yet (a first installation)
;   /ADAPTER=native|simulated
;       the device library: Windows' own wireless API (the default) or the
;       simulated adapter
; Any other value of these options installs nothing (exit code 2).

!ifdef TARGET_AMD64
Target amd64-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include Sections.nsh
!include WinVer.nsh
!include WordFunc.nsh

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
; Where Windows does not start a program that asks for administrator rights
; from the Run key (Vista and later), a task of this name starts the
; monitor at logon; its definition stays beside the monitor.
!define LOGON_TASK    "${PRODUCT_NAME}"
!define TASK_FILE     "autostart.xml"
; Any member of the local Users group, by SID: the group's name depends on
; the language of Windows.
!define USERS_SID     "S-1-5-32-545"

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
!ifdef TARGET_AMD64
; A 64-bit process sees the 64-bit registry and folders without redirection,
; as the 64-bit monitor and tests do.
InstallDir "$PROGRAMFILES64\${PRODUCT_NAME}"
!else
InstallDir "$PROGRAMFILES\${PRODUCT_NAME}"
!endif
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
Var Adapter             ; "native" or "simulated"
Var AdapterSection      ; the selected one of the two library sections

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

; The logon task and its definition gone, where there are any.
!macro RemoveLogonTask un
Function ${un}RemoveLogonTask
    nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN "${LOGON_TASK}" /F'
    Pop $0
    Delete "$INSTDIR\${TASK_FILE}"
FunctionEnd
!macroend
!insertmacro RemoveLogonTask ""
!insertmacro RemoveLogonTask "un."

; ---------------------------------------------------------------------------
; Installer

Function .onInit
    SetShellVarContext all
    ${GetParameters} $R0
    StrCpy $SetupSsid "ANY"
    StrCpy $SetupChannel "6"
    StrCpy $SetupMode "Infrastructure"
    StrCpy $Adapter "native"
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
    ClearErrors
    ${GetOptions} $R0 "/ADAPTER=" $R1
    ${IfNot} ${Errors}
        ${If} $R1 == "native"
            StrCpy $Adapter "native"
        ${ElseIf} $R1 == "simulated"
            StrCpy $Adapter "simulated"
        ${Else}
            StrCpy $R9 "/ADAPTER= takes native or simulated."
            Call RefuseOptions
        ${EndIf}
    ${EndIf}
    Call SelectAdapter
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
    File "${PROGRAM_BIN}/Monitor.exe"
    File "${PROGRAM_BIN}/Monitor.chm"
    File "${PROGRAM_BIN}/Regiopick.exe"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT_NAME}"
    CreateShortCut "$SMPROGRAMS\${PRODUCT_NAME}\${PRODUCT_NAME}.lnk" "$INSTDIR\Monitor.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT_NAME}\${PRODUCT_NAME} Help.lnk" "$INSTDIR\Monitor.chm"

    Call RegisterAutostart

    Call WriteSettings
SectionEnd

; The device library, one of two as nicport.dll: over an upgrade of the
; other kind it replaces the one there (the monitor that had it loaded has
; been ended above).
SectionGroup /e "Adapter library" SecAdapter
    Section "Windows wireless (any adapter, Windows Vista and later)" SecNative
        SetOutPath "$INSTDIR"
        File "/oname=nicport.dll" "${PROGRAM_BIN}/native/nicport.dll"
        ; nicsim drives only the simulated library: not left from an
        ; installation of that one.
        Delete "$INSTDIR\nicsim.exe"
        Delete "$INSTDIR\SIMULATOR.md"
    SectionEnd
    Section /o "Simulated adapter (demonstration)" SecSimulated
        SetOutPath "$INSTDIR"
        File "${PROGRAM_BIN}/nicport.dll"
    SectionEnd
SectionGroupEnd

Section /o "Adapter simulator" SecSimulator
    SetOutPath "$INSTDIR"
    File "${PROGRAM_BIN}/nicsim.exe"
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

; The library chosen on the command line (native unless said otherwise)
; selected, the other not. The simulator's component only with the
; simulated library.
Function SelectAdapter
    ${If} $Adapter == "simulated"
        StrCpy $AdapterSection ${SecSimulated}
        !insertmacro UnselectSection ${SecNative}
    ${Else}
        StrCpy $AdapterSection ${SecNative}
        !insertmacro UnselectSection ${SecSimulated}
    ${EndIf}
    !insertmacro SelectSection $AdapterSection
    Call OfferSimulator
FunctionEnd

Function OfferSimulator
    ${If} $AdapterSection == ${SecNative}
        !insertmacro UnselectSection ${SecSimulator}
        !insertmacro SetSectionFlag ${SecSimulator} ${SF_RO}
    ${Else}
        !insertmacro ClearSectionFlag ${SecSimulator} ${SF_RO}
    ${EndIf}
FunctionEnd

; The two libraries as radio buttons on the components page.
Function .onSelChange
    !insertmacro StartRadioButtons $AdapterSection
        !insertmacro RadioButton ${SecNative}
        !insertmacro RadioButton ${SecSimulated}
    !insertmacro EndRadioButtons
    Call OfferSimulator
FunctionEnd

; The monitor started at every logon. Windows Vista and later do not start
; a program that asks for administrator rights (as the monitor does) from
; the Run key: there a task does, at the logon of any user, with the highest
; rights that user has. Not limited to 72 hours nor to mains power, as a
; task is by default, and at normal priority (a task's default is below
; normal). Before Vista, and where the task cannot be registered, the Run
; value (which starts the monitor there where UAC is off). Either way only
; one of the two is left, also over an earlier installation that made the
; other.
Function RegisterAutostart
    ${If} ${AtLeastWinVista}
        ; A folder name may hold "&", which XML reserves.
        ${WordReplace} "$INSTDIR" "&" "&amp;" "+" $1
        ClearErrors
        FileOpen $0 "$INSTDIR\${TASK_FILE}" w
        ${IfNot} ${Errors}
            FileWriteUTF16LE /BOM $0 '<?xml version="1.0" encoding="UTF-16"?>$\r$\n'
            FileWriteUTF16LE $0 '<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">$\r$\n'
            FileWriteUTF16LE $0 '  <RegistrationInfo>$\r$\n'
            FileWriteUTF16LE $0 '    <Author>${PRODUCT_COMPANY}</Author>$\r$\n'
            FileWriteUTF16LE $0 '    <Description>Starts ${PRODUCT_NAME} in the notification area when a user logs on.</Description>$\r$\n'
            FileWriteUTF16LE $0 '  </RegistrationInfo>$\r$\n'
            FileWriteUTF16LE $0 '  <Triggers>$\r$\n'
            FileWriteUTF16LE $0 '    <LogonTrigger>$\r$\n'
            FileWriteUTF16LE $0 '      <Enabled>true</Enabled>$\r$\n'
            FileWriteUTF16LE $0 '    </LogonTrigger>$\r$\n'
            FileWriteUTF16LE $0 '  </Triggers>$\r$\n'
            FileWriteUTF16LE $0 '  <Principals>$\r$\n'
            FileWriteUTF16LE $0 '    <Principal id="Users">$\r$\n'
            FileWriteUTF16LE $0 '      <GroupId>${USERS_SID}</GroupId>$\r$\n'
            FileWriteUTF16LE $0 '      <RunLevel>HighestAvailable</RunLevel>$\r$\n'
            FileWriteUTF16LE $0 '    </Principal>$\r$\n'
            FileWriteUTF16LE $0 '  </Principals>$\r$\n'
            FileWriteUTF16LE $0 '  <Settings>$\r$\n'
            FileWriteUTF16LE $0 '    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>$\r$\n'
            FileWriteUTF16LE $0 '    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>$\r$\n'
            FileWriteUTF16LE $0 '    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>$\r$\n'
            FileWriteUTF16LE $0 '    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>$\r$\n'
            FileWriteUTF16LE $0 '    <Priority>5</Priority>$\r$\n'
            FileWriteUTF16LE $0 '  </Settings>$\r$\n'
            FileWriteUTF16LE $0 '  <Actions Context="Users">$\r$\n'
            FileWriteUTF16LE $0 '    <Exec>$\r$\n'
            FileWriteUTF16LE $0 '      <Command>$1\Monitor.exe</Command>$\r$\n'
            FileWriteUTF16LE $0 '      <WorkingDirectory>$1</WorkingDirectory>$\r$\n'
            FileWriteUTF16LE $0 '    </Exec>$\r$\n'
            FileWriteUTF16LE $0 '  </Actions>$\r$\n'
            FileWriteUTF16LE $0 '</Task>$\r$\n'
            FileClose $0
            ; schtasks is a console program: run without a window.
            nsExec::Exec '"$SYSDIR\schtasks.exe" /Create /TN "${LOGON_TASK}" /XML "$INSTDIR\${TASK_FILE}" /F'
            Pop $0
            ${If} $0 == 0
                DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT_NAME}"
                Return
            ${EndIf}
        ${EndIf}
    ${EndIf}
    Call RemoveLogonTask
    WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT_NAME}" '"$INSTDIR\Monitor.exe"'
FunctionEnd

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
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The tray monitor, its help, and the country selection."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAdapter} "How the monitor reaches the adapter: one of the two libraries."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecNative} "Any Wi-Fi adapter, through the wireless service of Windows Vista and later."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulated} "A simulated adapter, to show the monitor without a card."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulator} "nicsim.exe, which drives the simulated adapter, and its documentation (with the simulated adapter only)."
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
    Call un.RemoveLogonTask
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT_NAME}"

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

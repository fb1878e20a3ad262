; The setup program of the Zentravoli wheel software: the tray program
; ZntUsb.exe and the control-panel plug-in ZentraCpl.dll into the system
; folder, their registration with the game-controllers panel, the product's
; keys with their defaults, and an uninstaller that takes all of it away.
;
; Built by the build (cmake/Setup.cmake) with
;   makensis -DZNTUSB=... -DZENTRACPL=... -DICON=... -DREGISTRATION=... -DOUTFILE=... -DVERSION=... zentra.nsi
; Both run silently with /S.

Unicode true
Target amd64-unicode
ManifestSupportedOS all
RequestExecutionLevel admin
SetCompressor /SOLID lzma
CRCCheck on

!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Morvenhollow Zentravoli Racing Wheel"
!define PUBLISHER "Morvenhollow Corporation"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zentravoli"
!define LOADER_CLASS "MH_ZENTRA_USB"

; Win32 constants for the System plug-in's calls. HKEY_LOCAL_MACHINE is a
; sign-extended pointer-sized value.
!define ZENTRA_HKLM -2147483646
!define ZENTRA_WRITE_DAC 0x00040000
!define ZENTRA_DACL_SECURITY_INFORMATION 4
!define ZENTRA_SYNCHRONIZE 0x00100000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Only the uninstaller lives here: both programs go into the system folder,
; where the tray program's Run value looks for it.
InstallDir "$PROGRAMFILES64\Morvenhollow\Zentravoli"
BrandingText "${PUBLISHER}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; Offers a restart when a file in use could only be removed at the next one.
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

; Creates a key under HKEY_LOCAL_MACHINE and gives it a new access list:
; full access for the system, the administrators and the users, inherited
; by the keys below it. Both programs open these keys for writing with full
; access, also for a standard user. A failure ends the installation.
!macro ZentraCreateKeyForUsers KEY
  System::Call 'advapi32::RegCreateKeyExW(p ${ZENTRA_HKLM}, w "${KEY}", i 0, p 0, i 0, i ${ZENTRA_WRITE_DAC}, p 0, *p .r1, p 0) i .r0'
  ${If} $0 <> 0
    Abort "Cannot create the key HKEY_LOCAL_MACHINE\${KEY} (error $0)."
  ${EndIf}
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:(A;OICI;KA;;;SY)(A;OICI;KA;;;BA)(A;OICI;KA;;;BU)", i 1, *p .r2, p 0) i .r0'
  ${If} $0 <> 0
    System::Call 'advapi32::RegSetKeySecurity(p r1, i ${ZENTRA_DACL_SECURITY_INFORMATION}, p r2) i .r0'
    System::Call 'kernel32::LocalFree(p r2)'
  ${Else}
    StrCpy $0 -1
  ${EndIf}
  System::Call 'advapi32::RegCloseKey(p r1)'
  ${If} $0 <> 0
    Abort "Cannot open the key HKEY_LOCAL_MACHINE\${KEY} to the users (error $0)."
  ${EndIf}
  DetailPrint "Opened HKEY_LOCAL_MACHINE\${KEY} to the users"
!macroend

; Ends a running tray program the way closing its window does (it removes
; its tray icon and stops its watcher) and waits for its process, so that
; its file can be replaced or removed.
!macro ZentraStopLoader
  FindWindow $0 "${LOADER_CLASS}"
  ${If} $0 <> 0
    DetailPrint "Ending the running ZntUsb"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    System::Call 'kernel32::OpenProcess(i ${ZENTRA_SYNCHRONIZE}, i 0, i r1) p .r2'
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${If} $2 <> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r3'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${EndIf}
!macroend

; Deletes every value PREFIX<digits>SUFFIX of a key.
!macro ZentraDeleteNumberedValues KEY PREFIX SUFFIX
  Push "${SUFFIX}"
  Push "${PREFIX}"
  Push "${KEY}"
  Call un.ZentraDeleteNumberedValues
!macroend

Function un.ZentraDeleteNumberedValues
  Exch $R0   ; key
  Exch
  Exch $R1   ; prefix
  Exch 2
  Exch $R2   ; suffix
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  Push $R8
  StrLen $R4 $R1
  StrLen $R5 $R2
  StrCpy $R3 0   ; index of the value to look at
  next:
    EnumRegValue $R8 HKLM $R0 $R3
    StrCmp $R8 "" done
    IntOp $R3 $R3 + 1
    StrCpy $R7 $R8 $R4
    StrCmp $R7 $R1 0 next
    ; $R7: what follows the prefix; at least one digit before the suffix.
    StrCpy $R7 $R8 "" $R4
    StrLen $R6 $R7
    IntOp $R6 $R6 - $R5
    IntCmp $R6 0 next next
    ${If} $R5 > 0
      StrCpy $R6 $R7 "" -$R5
      StrCmp $R6 $R2 0 next
      StrCpy $R7 $R7 -$R5
    ${EndIf}
    digit:
      StrCpy $R6 $R7 1
      StrCmp $R6 "" number
      StrCpy $R7 $R7 "" 1
      ${If} $R6 S< "0"
      ${OrIf} $R6 S> "9"
        Goto next
      ${EndIf}
      Goto digit
    number:
      DeleteRegValue HKLM $R0 $R8
      ; The values after it moved up by one.
      IntOp $R3 $R3 - 1
      Goto next
  done:
  Pop $R8
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

!include "${REGISTRATION}"

Section "Install" SectionInstall
  SetShellVarContext all
  !insertmacro ZentraStopLoader
  ; The programs first, the registration after them: the panel never finds
  ; a class whose library is not there.
  SetOutPath "$SYSDIR"
  SetOverwrite on
  File "/oname=ZntUsb.exe" "${ZNTUSB}"
  File "/oname=ZentraCpl.dll" "${ZENTRACPL}"

  !insertmacro ZentraCreateProductKeys
  !insertmacro ZentraWriteProductDefaults
  !insertmacro ZentraRegisterPanel

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\ZntUsb.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SectionInstall} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro ZentraStopLoader
  ; The registration first, so that the panel stops offering the sheet.
  !insertmacro ZentraRemoveRegistration
  ; A library still loaded by an open control panel goes at the next start.
  Delete /REBOOTOK "$SYSDIR\ZentraCpl.dll"
  Delete /REBOOTOK "$SYSDIR\ZntUsb.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES64\Morvenhollow"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The uninstaller runs as a copy in the temporary folder, which asks
  ; Windows to delete the copy's folder and then the copy at the next start:
  ; the folder, still holding the copy then, would stay. Asked once more, it
  ; goes after the copy. That alone is no reason to offer a restart.
  ${If} "$EXEDIR" != "$INSTDIR"
    StrCpy $1 0
    ${If} ${RebootFlag}
      StrCpy $1 1
    ${EndIf}
    RMDir /REBOOTOK "$EXEDIR"
    ${If} $1 = 0
      SetRebootFlag false
    ${EndIf}
  ${EndIf}
SectionEnd

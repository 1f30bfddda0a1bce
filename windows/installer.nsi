# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# The installer for 64-bit Windows, per machine, in Russian like the game.
# The build defines VERSION (the project's), STAGE (the folder of the files
# to install, with the release's times), ICON and OUTFILE.

!ifndef VERSION | STAGE | ICON | OUTFILE
    !error "makensis -DVERSION=... -DSTAGE=... -DICON=... -DOUTFILE=... installer.nsi"
!endif

# Debian's makensis makes 32-bit installers unless told; the program is
# 64-bit only, and so are the folders and registry view it belongs in.
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma

!define PUBLISHER "The Tarvelo developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvelo"

Name "Tarvelo"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tarvelo"
RequestExecutionLevel admin
ManifestDPIAware true
# The default names the tool that made the installer; the game's own name
# and version say more to its user.
BrandingText "Tarvelo ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1049 "ProductName" "Tarvelo"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileDescription" "Tarvelo ${VERSION}"
VIAddVersionKey /LANG=1049 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}. GPL-3.0-or-later"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    # The staged files carry the release's time, which the installed ones
    # keep: the same installer from the same commit, wherever it is built.
    File "${STAGE}/tarvelo.exe"
    File "${STAGE}/LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Tarvelo.lnk" "$INSTDIR\tarvelo.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tarvelo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvelo.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    # In KiB, as the list of programs reads it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\Tarvelo.lnk"
    Delete "$INSTDIR\tarvelo.exe"
    Delete "$INSTDIR\LICENSE.txt"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    # This runs in a copy of the uninstaller, which the one in the folder
    # started and may not yet have ended; a file just deleted may linger
    # until its last handle closes; and the working directory cannot go.
    # So the folder is left and tried a few times. Only an empty folder is
    # removed, so that nothing of the user's that was put there is lost.
    SetOutPath "$TEMP"
    StrCpy $0 0
    retry:
        Delete "$INSTDIR\uninstall.exe"
        RMDir "$INSTDIR"
        IfFileExists "$INSTDIR\*.*" 0 done
        IntOp $0 $0 + 1
        IntCmp $0 20 done
        Sleep 250
        Goto retry
    done:
SectionEnd

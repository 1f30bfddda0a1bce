#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# The Windows installer under Debian's wine on a private Xvfb, in a wine
# prefix made afresh: a silent install puts the very program that the
# build made into the 64-bit program files, with a Start menu shortcut and
# an entry in the list of programs; the game starts from the shortcut and
# closes; the silent uninstall that the entry names takes all of it away
# again. Wine programs are judged by what they leave behind, not by how
# they exit.
#
#   windows_install.sh <windows build> <version>
set -u
. "$(dirname "$0")/servers.sh"
[ -d "$1" ] || skip "no Windows build in $1: make windows"
build=$(cd "$1" && pwd)
version=$2
installer=$build/tarvelo-$version-setup.exe
[ -f "$installer" ] || skip "no installer $installer: make windows"
[ -f "$build/tarvelo.exe" ] || skip "no program in $build: make windows"

start_xvfb
rm -rf "$build/wine-install"
start_wine "$build/wine-install"
# No menu entries on this system's desktop for the shortcut made in there.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvelo'
# A value of the uninstall entry, empty when there is none.
reg_value() {
    wine reg query "$key" /v "$1" /reg:64 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1  *REG_[A-Z_]*  *//p"
}
installed() { [ -n "$(reg_value EstimatedSize)" ]; }
entry_gone() { ! wine reg query "$key" /reg:64 >/dev/null 2>&1; }
# A folder of the prefix, as this system names it.
wine_folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')" | tr -d '\r'; }
no_game_window() { ! xdotool search --name '^Tarvelo$'; }

program_files=$(wine_folder ProgramW6432)
shortcut=$(wine_folder ProgramData)/Microsoft/Windows/Start\ Menu/Programs/Tarvelo.lnk
[ -d "$program_files" ] || fail "the prefix has no 64-bit program files folder ($program_files)"

wine "$installer" /S >"$scratch/install.log" 2>&1 &
track $!
# The size is the last thing the installer writes.
wait_for 120 installed || fail "the silent install wrote no uninstall entry: $(tail -n 3 "$scratch/install.log")"

location=$(reg_value InstallLocation)
folder=$(winepath -u "$location" | tr -d '\r')
[ "${folder%/}" = "$program_files/Tarvelo" ] ||
    fail "installed into $location ($folder), not into the 64-bit program files ($program_files/Tarvelo)"
cmp "$build/tarvelo.exe" "$folder/tarvelo.exe" || fail "the installed tarvelo.exe is not the one the build made"
[ -f "$shortcut" ] || fail "no Start menu shortcut at $shortcut"

[ "$(reg_value DisplayName)" = Tarvelo ] || fail "DisplayName is '$(reg_value DisplayName)', not Tarvelo"
[ "$(reg_value DisplayVersion)" = "$version" ] ||
    fail "DisplayVersion is '$(reg_value DisplayVersion)', not $version"
[ -n "$(reg_value Publisher)" ] || fail "the uninstall entry names no publisher"
case $(reg_value DisplayIcon) in
"$location\\tarvelo.exe"*) ;;
*) fail "DisplayIcon is '$(reg_value DisplayIcon)', not the installed program" ;;
esac
[ "$(reg_value NoModify)" = 0x1 ] && [ "$(reg_value NoRepair)" = 0x1 ] ||
    fail "the entry offers to modify or repair what cannot be"
# In KiB of what is installed, each file rounded as it may be.
bytes=0 files=0
for file in "$folder"/*; do
    bytes=$((bytes + $(wc -c <"$file"))) files=$((files + 1))
done
size=$(($(reg_value EstimatedSize)))
[ $((size * 1024)) -le "$bytes" ] && [ "$bytes" -lt $(((size + files) * 1024)) ] ||
    fail "EstimatedSize is $size KiB for $bytes bytes installed"
uninstall=$(reg_value UninstallString)
quiet=$(reg_value QuietUninstallString)
[ "$quiet" = "$uninstall /S" ] || fail "QuietUninstallString '$quiet' is not '$uninstall /S'"
uninstaller=${uninstall#\"} uninstaller=${uninstaller%\"}
[ "\"$uninstaller\"" = "$uninstall" ] || fail "UninstallString '$uninstall' is not one quoted path"
[ -f "$(winepath -u "$uninstaller" | tr -d '\r')" ] || fail "no uninstaller at $uninstaller"

# The game from the shortcut, as a user starts it; closed as the frame's
# close button would, and gone before the uninstaller deletes it.
wine start /unix "$shortcut" >"$scratch/game.log" 2>&1 || fail "wine cannot open the shortcut: $(tail -n 1 "$scratch/game.log")"
[ -n "$(game_window)" ] || fail "the installed game showed no window named Tarvelo"
wine taskkill /im tarvelo.exe >"$scratch/close.log" 2>&1
wait_for 20 no_game_window || fail "the game's window did not close: $(tail -n 1 "$scratch/close.log")"

wine "$uninstaller" /S >"$scratch/uninstall.log" 2>&1 &
track $!
# The uninstaller hands over to a copy of itself and returns at once: wait
# for what the copy does, the folder last.
wait_for 60 test ! -e "$folder" ||
    fail "the silent uninstall left $folder: $(ls -A "$folder" | tr '\n' ' ')"
entry_gone || fail "the silent uninstall left the uninstall entry"
[ ! -e "$shortcut" ] || fail "the silent uninstall left the Start menu shortcut"
echo "installed $installer into $location, played from the shortcut and uninstalled it again"

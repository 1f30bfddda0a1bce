#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# `make release`, twice, from two fresh clones of the checkout's commit in
# different folders, at different times, with another time zone, umask and
# locale: every file must come out the same, byte for byte; where one does
# not, diffoscope shows where. Then, in the files a user downloads: the
# checksums check, the source archive is the commit and builds the same
# package by itself, and every place that carries the version and the
# release's date says what data/changelog says.
#
#   release.sh <source>
#
# Skips (77) where the source is not a git checkout: a release is made
# from a commit.
set -eu
source=$(cd "$1" && pwd -P)
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "release: $*" >&2; exit 1; }
git -C "$source" rev-parse --verify -q HEAD >/dev/null || skip "$source is not a git checkout"
commit=$(git -C "$source" rev-parse HEAD)
version=$(dpkg-parsechangelog -l "$source/data/changelog" -S Version)
date=$(date -u -d "$(dpkg-parsechangelog -l "$source/data/changelog" -S Date)" +%F)

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvelo-release.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The commit, and nothing of the checkout's builds or changes; the time
# too comes from the commit, not from the make that runs this test.
release() {
    git clone -q --no-hardlinks "$source" "$1"
    git -C "$1" checkout -q --detach "$commit"
    (cd "$1" && env -u SOURCE_DATE_EPOCH make release) >"$1.log" 2>&1 || fail "make release in $1: $(tail -n 30 "$1.log")"
}
echo "release: making the release of $commit in two places"
release "$work/one"
mkdir -p "$work/other/place"
(umask 002 && TZ=Pacific/Kiritimati LC_ALL=C && export TZ LC_ALL && release "$work/other/place/two")
one=$work/one/dist
two=$work/other/place/two/dist

# Whether two files are the same; where not, diffoscope shows where.
same() {
    cmp -s "$1" "$2" && return
    echo "release: $(basename "$1") differs:" >&2
    if command -v diffoscope >/dev/null 2>&1; then
        diffoscope --text - --max-text-report-size 20000 "$1" "$2" >&2 || true
    else
        echo "release: (diffoscope, from scripts/install-deps test, would show where)" >&2
    fi
    return 1
}

if ! cmp -s "$one/SHA256SUMS" "$two/SHA256SUMS"; then
    diff "$one/SHA256SUMS" "$two/SHA256SUMS" >&2 || true
    for file in $(cd "$one" && ls); do
        same "$one/$file" "$two/$file" || true
    done
    fail "two releases of one commit differ"
fi
(cd "$one" && sha256sum --quiet -c SHA256SUMS) || fail "sha256sum -c SHA256SUMS fails"

# The source archive holds the commit's files, each once, and no other.
git -C "$source" ls-tree -r --name-only "$commit" | sort >"$work/committed"
tar -tJf "$one/tarvelo-$version.tar.xz" | grep -v '/$' | sed "s|^tarvelo-$version/||" | sort >"$work/archived"
cmp -s "$work/committed" "$work/archived" ||
    fail "the source archive is not the commit: $(diff "$work/committed" "$work/archived" | head -n 10)"

# Anyone can repeat the package from the source archive alone, outside git.
arch=$(dpkg --print-architecture)
deb=tarvelo_${version}_${arch}.deb
[ -f "$one/$deb" ] || fail "no $deb in dist/: $(ls "$one")"
mkdir "$work/archive"
tar -xJf "$one/tarvelo-$version.tar.xz" -C "$work/archive"
unpacked=$work/archive/tarvelo-$version
(cd "$unpacked" && env -u SOURCE_DATE_EPOCH make package) >"$work/archive.log" 2>&1 ||
    fail "make package in the unpacked source archive: $(tail -n 30 "$work/archive.log")"
same "$one/$deb" "$unpacked/build/$deb" || fail "the source archive builds another $deb"

# Every place that carries the version.
says() { grep -qF -- "$2" "$1" || fail "$1 does not say $2"; }
[ "$(dpkg-deb -f "$one/$deb" Version)" = "$version" ] || fail "the package's Version is $(dpkg-deb -f "$one/$deb" Version)"
dpkg-deb -x "$one/$deb" "$work/deb"
says "$work/deb/usr/share/metainfo/org.tarvelo.Tarvelo.metainfo.xml" "<release version=\"$version\" date=\"$date\">"
# The manual page's footer as man shows it: scdoc writes its date with
# escaped hyphens from 1.11.5 (unstable), plain before.
man -l "$work/deb/usr/share/man/man6/tarvelo.6.gz" 2>/dev/null | tail -n 1 >"$work/tarvelo.6.txt"
says "$work/tarvelo.6.txt" "$date"
says "$work/tarvelo.6.txt" "Tarvelo $version"
printed=$("$work/deb/usr/games/tarvelo" --version) || fail "tarvelo --version fails"
[ "$printed" = "tarvelo $version" ] || fail "tarvelo --version prints $printed"
mkdir "$work/web" "$work/windows"
(cd "$work/web" && unzip -q "$one/tarvelo-$version-web.zip")
says "$work/web/tarvelo-$version-web/sw.js" "'tarvelo-$version-"
says "$work/web/tarvelo-$version-web/manifest.webmanifest" "\"version\": \"$version\""
(cd "$work/windows" && unzip -q "$one/tarvelo-$version-windows-x64.zip")
# The version resources' strings, in UTF-16 as Windows keeps them.
for exe in "$work/windows/tarvelo.exe" "$one/tarvelo-$version-setup.exe"; do
    python3 - "$exe" "$version" <<'EOF' || fail "$exe's version resource does not say $version"
import sys
data = open(sys.argv[1], 'rb').read()
for key in ('FileVersion', 'ProductVersion'):
    at = data.find((key + '\0').encode('utf-16-le'))
    value = data[at + 2 * len(key) + 2:].lstrip(b'\0').split(b'\0\0')[0] + b'\0'
    if at < 0 or value.decode('utf-16-le').rstrip('\0') != sys.argv[2]:
        sys.exit(1)
EOF
done
echo "release: the same bytes twice, and version $version of $date in each file:"
(cd "$one" && ls -l | tail -n +2)

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# The quick start on another Debian release, as a new user meets it: makes a
# fresh minimal root of suite $1 (trixie, sid, ...) from the host's Debian
# archive, copies the source tree given as $2 into it, and there, as root,
# installs the packages with scripts/install-deps, builds the game, its
# page and its Windows program, and runs the fast suites, the package's own
# test, the page's and the Windows program's with that release's compilers,
# Qt, emscripten, browsers, mingw-w64, wine, fonts and lintian. Any failure inside fails the test; only a root that
# debootstrap cannot download skips (77).
set -eu
suite=$1
source=$(cd "$2" && pwd -P)
. "$source/tests/debian_root.sh"
[ "$(id -u)" -eq 0 ] || skip "making a Debian root and entering it with chroot needs root"

mkdir -p "$source/build-releases"
work=$(mktemp -d "$source/build-releases/$suite.XXXXXX")
trap leave_root EXIT

make_root "$suite"

# The tree as committed or about to be, without what is built from it; a
# source archive, outside git, without its builds.
mkdir "$root/src"
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$source" ls-files -z --cached --others --exclude-standard |
        (cd "$source" && xargs -0 tar -cf - --no-recursion) | tar -xf - -C "$root/src"
else
    (cd "$source" && tar -cf - --exclude=./build --exclude='./build-*' --exclude=./dist --exclude=node_modules .) |
        tar -xf - -C "$root/src"
fi

echo "release_root: the quick start's packages and build on $suite"
in_root sh -c 'cd /src && apt-get update -q && apt-get install -y -q --no-install-recommends make &&
    ./scripts/install-deps test && make build web windows tests/web/node_modules' >"$work/build.log" 2>&1 ||
    fail "building on $suite: $(tail -n 20 "$work/build.log")"

echo "release_root: the fast suites, the package and the page on $suite"
in_root sh -c 'cd /src && ctest --preset fast --output-on-failure &&
    ctest --preset default --output-on-failure -R "^(install_tree|debian_package|web_chromium|web_firefox|web_webkit|windows_play_96)$"' >"$work/test.log" 2>&1 ||
    fail "the tests on $suite: $(grep -E 'tests failed|Failed|FAIL' "$work/test.log" | head -n 20)
$(tail -n 40 "$work/test.log")"
grep -E '^[0-9]+% tests passed|Not Run|Skipped|SKIP' "$work/test.log"
grep -q -E 'Not Run|\*\*\*Skipped' "$work/test.log" && fail "a test was skipped on $suite"
echo "release_root: ok on $suite"

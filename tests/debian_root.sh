# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Shell functions for the tests that make a fresh minimal Debian root with
# debootstrap and work inside it as root. Everything started inside is
# stopped and everything mounted is unmounted when the test ends. Sourced,
# not run; `work` must name a scratch folder of the test's.

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# The Debian archive and the suite that the host's apt sources name for its
# main component, one-line style or deb822: "URI SUITE".
host_suite() {
    {
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            awk '$1 == "deb" && $0 ~ / main/ { for (i = 2; i <= NF; i++) if ($i !~ /^\[/) { print $i, $(i + 1); exit } }'
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '
            /^URIs:/ { uri = $2 } /^Suites:/ { suite = $2 } /^Components:.* main/ { main = 1 }
            /^$/ { if (main && uri !~ /security/) { print uri, suite; exit } uri = ""; suite = ""; main = 0 }
            END { if (main && uri !~ /security/) print uri, suite }'
    } | grep -v -- '-security' | head -n 1
}

# Makes a minimal root in $root of suite $1, or of the host's own release
# without it, from the host's Debian archive, with apt sources for it; skips
# where debootstrap cannot download it. Unstable's Release file may have
# passed its Valid-Until on a slow mirror; apt tolerates that there alone.
make_root() {
    set -- "${1:-}" $(host_suite)
    [ $# -eq 3 ] || fail "no Debian archive with a main component in the host's apt sources"
    suite=${1:-$3} mirror=$2
    root=$work/root
    command -v debootstrap >/dev/null 2>&1 || skip "debootstrap is not installed"
    echo "debian_root: debootstrap $suite from $mirror"
    debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
        skip "debootstrap could not make a $suite root from $mirror: $(grep -m 1 '^E:' "$work/debootstrap.log" || tail -n 1 "$work/debootstrap.log")"
    case "$suite" in
    sid | unstable)
        echo "deb $mirror $suite main" >"$root/etc/apt/sources.list"
        echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/50valid-until"
        ;;
    *)
        security=$(echo "$mirror" | sed 's,/debian/*$,/debian-security,')
        cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
SOURCES
        ;;
    esac
    for place in proc sys dev dev/pts dev/shm; do
        mount --bind "/$place" "$root/$place"
        mounted="$root/$place $mounted"
    done
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
    # The certificate authorities that the host trusts, whose network may
    # need one of its own: npm, through node, reads them in the root. A root
    # made inside another root has that authority only through node's
    # extra certificates, not in the system's bundle, so it takes both.
    trust=""
    system=/etc/ssl/certs/ca-certificates.crt extra=${NODE_EXTRA_CA_CERTS:-}
    if [ -r "$system" ]; then
        cp "$system" "$root/etc/host-certificates.crt"
        trust=NODE_EXTRA_CA_CERTS=/etc/host-certificates.crt
    fi
    if [ -r "$extra" ] && ! [ "$extra" -ef "$system" ]; then
        cat "$extra" >>"$root/etc/host-certificates.crt"
        trust=NODE_EXTRA_CA_CERTS=/etc/host-certificates.crt
    fi
}

# Runs a command as root inside the root, with a clean environment.
in_root() {
    chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
        ${trust:-} "$@"
}

mounted=""
# Stops every process whose root is the new root, then unmounts, last
# mounted first.
leave_root() {
    if [ -n "${root:-}" ] && [ -d "$root" ]; then
        for signal in TERM KILL; do
            for process in /proc/[0-9]*; do
                [ "$(readlink "$process/root" 2>/dev/null)" = "$root" ] && { kill -s $signal "${process#/proc/}" 2>/dev/null || true; }
            done
            sleep 1
        done
    fi
    for place in $mounted; do umount -l "$place" 2>/dev/null || true; done
    rm -rf --one-file-system "$work"
}

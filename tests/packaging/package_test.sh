#!/usr/bin/env bash
# The Debian package of a build: made by CPack, unpacked into a scratch root
# (dpkg -x), and its qvcfg run from there on the installed samples. Also
# checks what the package declares: dependencies, the settings conffile, the
# desktop entry's launcher, the man pages and, where installed, lintian.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT

fail() { echo "package test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$scratch"/out/*.deb)
dpkg-deb -f "$deb" Depends | grep -q libtiff || fail "Depends lacks libtiff: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -I "$deb" conffiles | grep -qx /etc/qvi-configurator/qvi.ini || fail "no conffile"

if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 ||
        fail "lintian: $(grep '^E:' "$scratch/lintian.log")"
fi

root=$scratch/root
dpkg -x "$deb" "$root"
# The scratch root stands in for /: links to absolute paths (the settings in
# /etc) are pointed into it.
find "$root" -type l -lname '/*' | while read -r link; do
    ln -sfn "$root$(readlink "$link")" "$link"
done
for file in usr/bin/qvconfig usr/bin/qvcfg usr/bin/mkbcf usr/lib/qvi-configurator/libquar-core.so \
    usr/lib/qvi-configurator/qvcfg.ini usr/share/man/man1/qvcfg.1.gz usr/share/doc/qvi-configurator/copyright \
    usr/share/doc/qvi-configurator/changelog.gz \
    usr/share/icons/hicolor/scalable/apps/qvconfig.svg; do
    [ -e "$root/$file" ] || fail "missing $file"
done
launcher=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/qvconfig.desktop")
[ -x "$root$launcher" ] || fail "the desktop entry runs $launcher, which is not in the package"
if command -v groff >/dev/null 2>&1; then
    for page in qvconfig qvcfg mkbcf; do
        warnings=$(zcat "$root/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
        [ -z "$warnings" ] || fail "man page $page: $warnings"
    done
fi

samples=$root/usr/share/qvi-configurator/samples/config
[ -s "$samples/demo.CNF" ] || fail "the samples lack the demo's binary twin"
# Installed files are read-only to a user: run qvcfg as one where we can.
chmod -R a-w "$root/usr" "$root/etc"
chmod a+rx "$scratch"
as_user=()
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null 2>&1; then
    # (leak checks of a sanitizer build need ptrace, which the user may not have)
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups
             env HOME="$scratch" ASAN_OPTIONS=detect_leaks=0)
fi
# The installed samples open read-only through their binary twin; a copy
# of them opens as text (which writes its twin).
"${as_user[@]}" "$root/usr/bin/qvcfg" -q -c "$samples" show "$samples/demo.CNF" \
    >"$scratch/show.out" 2>"$scratch/show.err" ||
    fail "installed qvcfg show failed: $(cat "$scratch/show.err")"
grep -q 'Lumo:0' "$scratch/show.out" || fail "installed qvcfg show printed: $(cat "$scratch/show.out")"
copy=$scratch/config
cp -r "$samples" "$copy"
chmod -R u+w,a+rX "$copy"
if [ ${#as_user[@]} -gt 0 ]; then chown -R nobody "$copy"; fi
"${as_user[@]}" "$root/usr/bin/qvcfg" -q -c "$copy" info "$copy/demo.txt" 1 |
    grep -qP '^hardware_revision\t[1-9]' ||
    fail "the installed qvcfg did not reach the simulator's boards"
echo "package test: $(basename "$deb") installs and runs"

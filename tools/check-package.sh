#!/usr/bin/env bash
# Checks the Debian package without installing it: unpacks it into a temporary root, checks the
# layout and that the program finds its libraries there without LD_LIBRARY_PATH, plays every
# shipped replay headless with the unpacked game from an empty folder, validates the desktop
# entry and the metainfo with Debian's validators and runs lintian on the package (an error
# fails; warnings are shown).
# Usage: tools/check-package.sh [PACKAGE.deb]   (default: build it with tools/package.sh)
set -uo pipefail
fail() { echo "package: FAIL: $*" >&2; exit 1; }
given=""
[ $# -gt 0 ] && { given=$(realpath "$1") || fail "no package $1"; }
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
if [ -n "$given" ]; then
    deb=$given
else
    tools/package.sh | tee "$tmp/package.log" || fail "tools/package.sh failed"
    deb=$(realpath "$(tail -n 1 "$tmp/package.log")")
fi
[ -f "$deb" ] || fail "no package $deb"
for tool in dpkg-deb desktop-file-validate appstreamcli lintian; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/setup.sh installs it)"
done
root=$tmp/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x $deb failed"

game=$root/usr/games/Halvex
content=$root/usr/share/games/halvex
app=org.halvex.halvex
for file in usr/games/Halvex usr/lib/halvex/libVornEngine.so \
    usr/share/games/halvex/Assets/Data/Index.json usr/share/applications/$app.desktop \
    usr/share/metainfo/$app.metainfo.xml usr/share/icons/hicolor/256x256/apps/$app.png \
    usr/share/icons/hicolor/16x16/apps/$app.png usr/share/man/man6/Halvex.6.gz \
    usr/share/doc/halvex/copyright; do
    [ -e "$root/$file" ] || fail "$file is not in the package"
done
exec_line=$(grep '^Exec=' "$root/usr/share/applications/$app.desktop")
[ -x "$root${exec_line#Exec=}" ] || fail "the desktop entry starts ${exec_line#Exec=}, not in the package"
echo "ok: layout"
# Worked out from the linked libraries: without them apt would install a game that cannot start.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libstdc++6 libglfw3 libopenal1; do
    [[ ", $depends" == *", $needed "* ]] || fail "Depends lacks $needed: $depends"
done
echo "ok: Depends: $depends"

# Our libraries must come from the unpacked tree, through the program's run path.
libraries=$(env -u LD_LIBRARY_PATH ldd "$game") || fail "ldd $game failed"
if printf '%s\n' "$libraries" | grep -q 'not found'; then
    fail "unresolved libraries: $(printf '%s\n' "$libraries" | grep 'not found')"
fi
vorn=0
while read -r name _ path _; do
    [[ "$name" == libVorn* ]] || continue
    vorn=$((vorn + 1))
    [ "$(realpath "$path")" = "$root/usr/lib/halvex/$name" ] ||
        fail "$name comes from $path, not from the package"
done <<<"$libraries"
[ "$vorn" -gt 0 ] || fail "the program links none of our libraries: $libraries"
echo "ok: $vorn libraries found in the package's usr/lib/halvex"

mkdir "$tmp/elsewhere"
shopt -s nullglob
replays=("$content"/Assets/Replays/*.json)
[ ${#replays[@]} -gt 0 ] || fail "no replay in the package"
for replay in "${replays[@]}"; do
    out=$(cd "$tmp/elsewhere" && env -u LD_LIBRARY_PATH "$game" --replay "$replay" --headless 2>&1)
    status=$?
    line=$(printf '%s\n' "$out" | grep 'replay: frames' | tail -n 1)
    if [ $status -ne 0 ] || [[ "$line" != *", expected state reached" ]]; then
        fail "$(basename "$replay"): status $status: $out"
    fi
    echo "ok: $(basename "$replay"): $line"
done

desktop-file-validate "$root/usr/share/applications/$app.desktop" ||
    fail "desktop-file-validate rejects the desktop entry"
echo "ok: desktop entry"
appstreamcli validate --no-net --explain "$root/usr/share/metainfo/$app.metainfo.xml" ||
    fail "appstreamcli rejects the metainfo"

lintian --fail-on error --display-info "$deb" >"$tmp/lintian.txt" 2>&1
status=$?
cat "$tmp/lintian.txt"
[ $status -eq 0 ] || fail "lintian reports errors (status $status)"
echo "ok: lintian: $(grep -c '^E:' "$tmp/lintian.txt") errors, $(grep -c '^W:' "$tmp/lintian.txt") warnings"
echo "package: $(basename "$deb") checked"

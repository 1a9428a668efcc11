#!/usr/bin/env bash
# An install into a fresh prefix runs from any folder without LD_LIBRARY_PATH: the program finds
# our libraries through its run path and its content under <prefix>/share/halvex. The build
# tree's program, started from another folder, finds the source tree's content, and a replay
# named relative to the starting folder still opens. Without content anywhere the program
# fails with status 2 and names every folder it looked in.
# Environment: CMAKE, BUILD (the build tree), HALVEX (its program), PREFIX (the configured
# install prefix).
set -u
fail() { echo "FAIL: $*"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

"$CMAKE" --install "$BUILD" --prefix "$prefix" >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log"; fail "cmake --install failed"; }
for file in bin/Halvex bin/halvex-validate lib/libVornEngine.so \
    share/halvex/Assets/Data/Index.json; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
programs=$(cd "$prefix/bin" && echo *)
[ "$programs" = "Halvex halvex-validate" ] || fail "bin/ holds more than the programs: $programs"
echo "ok: installed in $(du -sh "$prefix" | cut -f1)"

mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere" || fail "no folder $tmp/elsewhere"
replays=("$prefix"/share/halvex/Assets/Replays/*.json)
[ -e "${replays[0]}" ] || fail "no replay installed"
out=$(env -u LD_LIBRARY_PATH "$prefix/bin/Halvex" --replay "${replays[0]}" --headless 2>&1)
status=$?
[ "$status" -eq 0 ] || fail "the installed game gave status $status: $out"
case "$out" in
    *"expected state reached"*) echo "ok: installed: $out" ;;
    *) fail "the installed game did not reach the replay's state: $out" ;;
esac
env -u LD_LIBRARY_PATH "$prefix/bin/halvex-validate" "$prefix/share/halvex" ||
    fail "the installed content does not validate"
echo "ok: the installed content validates"

cat >walk.json <<'JSON'
{
  "format": "Halvex replay", "version": 1, "start": "Level1", "expect": "Level1",
  "step": 0.01666666753590107, "seed": 3, "frames": 120,
  "input": [
    {"frame": 20, "key": [68, 1, 0, false]},
    {"frame": 80, "key": [68, 0, 0, false]}
  ]
}
JSON
out=$("$HALVEX" --replay walk.json --headless 2>&1)
status=$?
[ "$status" -eq 0 ] || fail "the build tree's game gave status $status: $out"
echo "ok: build tree: $out"

# The built-in prefix is searched too; where the game is installed there, it would be found.
if [ ! -e "$PREFIX/share/halvex/Assets/Data/Index.json" ]; then
    mv "$prefix/share" "$prefix/moved"
    out=$("$prefix/bin/Halvex" --replay "$prefix/moved/halvex/Assets/Replays/$(basename "${replays[0]}")" \
        --headless 2>&1)
    status=$?
    [ "$status" -eq 2 ] || fail "without content: status $status, not 2: $out"
    for folder in "$tmp/elsewhere" "$prefix/bin" "$prefix" "$prefix/share/halvex" \
        "$PREFIX/share/halvex"; do
        printf '%s\n' "$out" | grep -qxF "  $folder" || fail "$folder is not named in: $out"
    done
    echo "ok: without content: status 2, every folder named"
fi

#!/usr/bin/env bash
# The test command (CI runs it through .ci/run). Installs what Halvex needs, checks the
# formatting, the layers and the run command (its release build, the game started for a few
# seconds), then tests two builds, each thing once:
#   release (GCC, optimised): every test, the end-to-end suite, the install, the shipped
#     replays, the content validator, the art and sound generators against the shipped files,
#     and each benchmark once in a short run;
#   asan (clang, AddressSanitizer + UndefinedBehaviorSanitizer, the standard library's
#     assertions): the unit tests and the shipped replays, the end-to-end tests labelled
#     "sanitized" (those that reach window, input, menu and settings code nothing else runs),
#     and the loaders fuzzed for a few seconds each;
# the replays' hashes must agree across the two builds, and the state-loading tests run once
# more under ThreadSanitizer. The builds are unity builds (a few sources to a compiler run), so
# each source that did not start its unit is parsed once more on its own
# (tools/check-includes.py). Between them, the Debian package is made from the release build
# and checked unpacked (tools/check-package.sh), and the game is cross-built for Windows and its
# replays played under Wine from the unpacked zip (tools/windows/check.sh). Warnings are errors
# throughout. Every step prints its time and the command ends with a table of them.
#
# A step is one line: `step NAME COMMAND [ARG...]`. The command runs with errexit in a subshell
# of its own, so a step may be a shell function of several commands; the first failing step
# ends the command with its status, after the table.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

step_names=()
step_seconds=()
started=$SECONDS

table() {
    local i
    echo "== step times"
    for i in "${!step_names[@]}"; do
        printf '  %-16s %5d s\n' "${step_names[$i]}" "${step_seconds[$i]}"
    done
    printf '  %-16s %5d s   (load average now: %s)\n' total $((SECONDS - started)) \
        "$(cut -d' ' -f1-3 /proc/loadavg)"
}

step() {
    local name=$1 begun=$SECONDS status=0
    shift
    echo "== $name: $*"
    set +e
    (
        set -e
        "$@"
    )
    status=$?
    set -e
    step_names+=("$name")
    step_seconds+=($((SECONDS - begun)))
    echo "== $name: $((SECONDS - begun)) s"
    if [ $status -ne 0 ]; then
        table
        echo "== FAILED: step $name (status $status)" >&2
        exit $status
    fi
}

format() { git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror; }

# The run command leaves warnings as they are; here they are errors (the option is not the
# preset's, so the run command's own configure keeps it).
run_command() {
    cmake --preset release -DHALVEX_WERROR=ON >/dev/null
    tools/play.sh --smoke
}

build() {  # preset, cmake options...
    local preset=$1
    shift
    cmake --preset "$preset" "$@" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
}

# Everything, in one ctest run: the replays.shipped test writes the hashes compared below.
release_tests() {
    rm -f build/release/replay-hashes.txt
    ctest --test-dir build/release --output-on-failure -j "$jobs"
}

# The sanitizers' options (a finding exits 86), shared with the fuzz script.
source tools/sanitizers.sh

# What the sanitizers add is memory and UB checking of our code: the unit tests and the replays.
# The install, the benchmarks and the shipped content's validation test nothing the release
# build has not (the loaders meet the shipped files again as the fuzzers' seeds).
asan_tests() {
    rm -f build/asan/replay-hashes.txt
    ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE "e2e|install|bench|content"
}

# The whole game under Xvfb: memory errors still stop it, but the GL driver is unloaded before
# the leak check runs, so its allocations cannot be told apart from ours.
asan_e2e() { ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" ctest --test-dir build/asan --output-on-failure -L sanitized; }

# The package is made from the release build just tested (only its install layout differs), then
# checked unpacked.
package() {
    local deb
    deb=$(tools/package.sh build/release | tail -n 1)
    tools/check-package.sh "$deb"
}

tsan_tests() {
    cmake --preset tsan >/dev/null
    cmake --build --preset tsan -j "$jobs" --target EngineTests
    build/tsan/bin/EngineTests --gtest_filter='Loader.*:StateManager.*:Trace.*'
}

step setup tools/setup.sh
step format format
step layers tools/check_layers.sh
step run-command run_command
step release-build build release -DHALVEX_TESTS=ON -DHALVEX_ART=ON
step release-tests release_tests
step package package
step windows tools/windows/check.sh build/release/bin/Halvex
step asan-build build asan
step includes tools/check-includes.py build/asan
step asan-tests asan_tests
step asan-e2e asan_e2e
step fuzz tools/fuzz/run.sh 5 asan
step replay-hashes tools/check-replays.sh --compare build/release/replay-hashes.txt build/asan/replay-hashes.txt
step tsan tsan_tests
table
echo "== all tests passed"

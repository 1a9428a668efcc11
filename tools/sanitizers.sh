# Sourced by the test command and the fuzz script: the sanitizers' options, set in one place. A
# sanitizer finding exits with status 86, which no program of ours uses, so the programs' own
# statuses (the validator's 1 for "problems found", 2 for a bad command line) keep their meaning.
# Leaks inside the system's GL, X11 and sound drivers are not ours to fix.
halvex_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ASAN_OPTIONS="exitcode=86"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86"
export TSAN_OPTIONS="halt_on_error=1:exitcode=86"
export LSAN_OPTIONS="suppressions=$halvex_root/tools/lsan.supp:print_suppressions=0:exitcode=86"
unset halvex_root

# Sourced by the fuzz script: its sanitizer options, set in one place. A sanitizer finding
# exits with status 86, which no program of ours uses, so the validator's 1 ("problems found")
# and 2 (usage) stay the program's own answers. The test command sets the same exit code.
export ASAN_OPTIONS="detect_leaks=0:exitcode=86"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86"

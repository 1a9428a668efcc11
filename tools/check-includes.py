#!/usr/bin/env python3
"""Checks that every source of a unity build compiles on its own.

A unity build compiles a target's sources several to a unit, so a source that forgets an
include, or leans on a `using` of the source before it, still builds there. This parses each
source that is not the first of its unit alone (-fsyntax-only; the first one and the units of
one source were compiled alone by the build itself), with its unit's own command from the
build's compile_commands.json: the same compiler, flags and layer include folders.

Usage: tools/check-includes.py BUILD_DIR [JOBS]
"""

import json
import os
import re
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor


def alone_commands(build):
    """(source, argv, folder) for each source after the first of each unity unit."""
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = json.load(f)
    commands = []
    for entry in entries:
        if "/Unity/unity_" not in entry["file"]:
            continue
        argv = shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])
        # Keep the flags; drop the output, the dependency file and the unit itself.
        flags = []
        skip = False
        for arg in argv:
            if skip:
                skip = False
            elif arg in ("-o", "-MF", "-MT", "-c"):
                skip = True
            elif arg in ("-MD", "-MMD") or arg == entry["file"]:
                pass
            else:
                flags.append(arg)
        with open(entry["file"]) as unit:
            sources = re.findall(r'^#include "(.+)"$', unit.read(), re.M)
        for source in sources[1:]:
            commands.append((source, flags + ["-fsyntax-only", source], entry["directory"]))
    return commands


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    build = sys.argv[1]
    jobs = int(sys.argv[2]) if len(sys.argv) > 2 else os.cpu_count()
    commands = alone_commands(build)
    if not commands:
        print(f"check-includes: no unity units of several sources in {build}", file=sys.stderr)
        return 1

    def run(command):
        source, argv, directory = command
        result = subprocess.run(argv, cwd=directory, capture_output=True, text=True)
        return source, result.returncode, result.stderr

    failed = 0
    with ThreadPoolExecutor(max_workers=jobs) as pool:
        for source, status, errors in pool.map(run, commands):
            if status != 0:
                failed += 1
                print(f"check-includes: {source} does not compile on its own:", file=sys.stderr)
                print(errors, file=sys.stderr)
    print(f"check-includes: {len(commands) - failed} of {len(commands)} sources after the first of "
          "their unit compile on their own")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

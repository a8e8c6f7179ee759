#!/usr/bin/env python3
"""Run by CTest: clang-tidy with the checks of .clang-tidy over every file of
src/ in the build's compilation database, one file per core at a time. Any
warning fails.

A file found clean is remembered by a hash of everything clang-tidy would
read for it (the preprocessed file, its compile command, the checks and the
clang-tidy version) in BUILD/tidy-clean/, so a later run checks again only
what changed. The first run takes a few minutes on two cores.

    check_tidy.py CLANG_TIDY SOURCE BUILD
"""

import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys
import time

# Flags that write files beside the object; preprocessing must not.
DEPENDENCY_FLAGS_WITH_VALUE = {"-o", "-MF", "-MT", "-MQ"}
DEPENDENCY_FLAGS = {"-c", "-MD", "-MMD"}


def arguments_of(entry):
    if "arguments" in entry:
        return list(entry["arguments"])
    return shlex.split(entry["command"])


def preprocess_command(arguments):
    command = []
    skip = False
    for argument in arguments:
        if skip:
            skip = False
        elif argument in DEPENDENCY_FLAGS_WITH_VALUE:
            skip = True
        elif argument not in DEPENDENCY_FLAGS:
            command.append(argument)
    return command + ["-E", "-o", "-"]


def key_of(entry, settings):
    arguments = arguments_of(entry)
    text = subprocess.run(
        preprocess_command(arguments),
        cwd=entry["directory"],
        capture_output=True,
        check=False,
    )
    if text.returncode != 0:
        return None
    digest = hashlib.sha256(settings)
    digest.update("\0".join(arguments).encode())
    digest.update(text.stdout)
    return digest.hexdigest()


def is_noise(line):
    # The counts clang-tidy prints for the warnings it left out (system headers).
    return line.endswith(" generated.") or line.startswith("Suppressed ") or (
        line.startswith("Use -header-filter") or line.startswith("Use -system-headers"))


def tidy(tidy_binary, build, entry, settings, cache):
    key = key_of(entry, settings)
    if key and os.path.exists(os.path.join(cache, key)):
        return entry["file"], key, True, None
    result = subprocess.run(
        [tidy_binary, "-p", build, "--quiet", "--warnings-as-errors=*", entry["file"]],
        capture_output=True,
        text=True,
        check=False,
    )
    report = "\n".join(line for line in (result.stdout + result.stderr).splitlines()
                       if not is_noise(line))
    clean = result.returncode == 0
    if clean and key:
        with open(os.path.join(cache, key), "w", encoding="utf-8"):
            pass
    return entry["file"], key, clean, report


def main():
    tidy_binary, source, build = sys.argv[1:4]
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as database:
        entries = [entry for entry in json.load(database)
                   if entry["file"].startswith(os.path.join(source, "src") + os.sep)]
    if not entries:
        print(f"no file of {source}/src in {build}/compile_commands.json")
        return 1

    with open(os.path.join(source, ".clang-tidy"), "rb") as config:
        settings = config.read()
    settings += subprocess.run([tidy_binary, "--version"], capture_output=True,
                               check=True).stdout
    cache = os.path.join(build, "tidy-clean")
    os.makedirs(cache, exist_ok=True)

    start = time.monotonic()
    failed = []
    keys = set()
    checked = 0
    workers = len(os.sched_getaffinity(0))
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        runs = [pool.submit(tidy, tidy_binary, build, entry, settings, cache)
                for entry in entries]
        for run in concurrent.futures.as_completed(runs):
            file, key, clean, report = run.result()
            keys.add(key)
            checked += report is not None
            if report:
                print(report, flush=True)
            if not clean:
                failed.append(file)

    # Forget files that are no longer built this way.
    for name in os.listdir(cache):
        if name not in keys:
            os.remove(os.path.join(cache, name))

    print(f"{len(entries)} files, {checked} checked, the others unchanged since found clean; "
          f"{len(failed)} with warnings; {time.monotonic() - start:.0f} s")
    for file in sorted(failed):
        print(f"  {file}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

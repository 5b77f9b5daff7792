#!/usr/bin/env python3
"""Seeds each fault of faults.txt into the product code in turn, rebuilds the warnings build,
runs the tests whose programs the fault changed and notes whether they caught it. The source is
restored after each fault, also on Ctrl+C. Ends with "caught N of M".

Usage: tests/faults/run.py [BUILD_DIR] [FAULT_ID...]   (default build/faults, every fault)
"""
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
# Not product code: the suite, the benchmarks, the simulator, build trees and the rest.
SKIPPED = {"tests", "bench", "sim", "build", "docs", "packaging", "scripts", "cmake"}


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m[1], m[1]), text)


def faults():
    for line in open(HERE / "faults.txt", encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            ident, _, snippet, replacement, _ = line.rstrip("\n").split("\t")
            yield ident, unescape(snippet), unescape(replacement)


def product_files():
    for folder, subfolders, files in os.walk(ROOT):
        if Path(folder) == ROOT:
            subfolders[:] = [d for d in subfolders if d not in SKIPPED and not d.startswith(".")]
        yield from (Path(folder, name) for name in files if name.endswith((".cpp", ".h")))


def holder(files, ident, snippet):
    found = [path for path in files for _ in range(path.read_text(encoding="utf-8").count(snippet))]
    if len(found) != 1:
        sys.exit(f"{ident}: the snippet occurs {len(found)} times in the product code {found}")
    return found[0]


def run(*command, log=None):
    output = log or subprocess.DEVNULL
    return subprocess.run(["nice", "-n", "19", *map(str, command)], stdout=output,
                          stderr=subprocess.STDOUT).returncode == 0


def changed_tests(build, since):
    """The tests one of whose programs (the command, a program given to a script, or one the
    test starts, named in its REQUIRED_FILES) was rebuilt: any other test runs the same code as
    without the fault. The package test is left out, as cpack only packs the files a build
    makes, whatever their code."""
    listing = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                             capture_output=True, check=True).stdout

    def programs(test):
        required = [p["value"] for p in test.get("properties", []) if p["name"] == "REQUIRED_FILES"]
        return test.get("command", []) + [f for files in required for f in files]

    return [test["name"] for test in json.loads(listing)["tests"] if test["name"] != "package"
            and any(os.path.isfile(arg) and os.path.getmtime(arg) > since
                    for arg in programs(test))]


def verdict(build, since, log_path):
    with open(log_path, "w") as log:
        if not run("cmake", "--build", build, "-j2", log=log):
            return "build-failed", ""
        tests = changed_tests(build, since)
        if not tests:
            return "missed", "(no test program changed)"
        (build / "Testing/Temporary/CTestCostData.txt").unlink(missing_ok=True)
        log.flush()
        if run("ctest", "--test-dir", build, "-j2", "--stop-on-failure", "-R",
               f"^({'|'.join(tests)})$", log=log):
            return "missed", ""
    return "caught", " ".join(re.findall(r"^.* - (\S+) \(", log_path.read_text(), re.M))


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build/faults").resolve()
    wanted = sys.argv[2:]
    logs = build / "fault-logs"
    logs.mkdir(parents=True, exist_ok=True)
    files = list(product_files())
    seeded = [(ident, holder(files, ident, snippet), snippet, replacement)
              for ident, snippet, replacement in faults()]  # every fault must apply
    # ccache, where it is installed, makes the rebuild after each fault quicker.
    launcher = "ccache" if shutil.which("ccache") else ""
    with open(logs / "build.log", "w") as log:
        if not (run("cmake", "-S", ROOT, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                    "-DCMAKE_COMPILE_WARNING_AS_ERROR=ON",
                    f"-DCMAKE_CXX_COMPILER_LAUNCHER={launcher}", log=log)
                and run("cmake", "--build", build, "-j2", log=log)):
            sys.exit(f"build fails: see {logs / 'build.log'}")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # restores the source on the way out
    caught = 0
    chosen = [fault for fault in seeded if not wanted or fault[0] in wanted]
    for ident, path, snippet, replacement in chosen:
        original = path.read_text(encoding="utf-8")
        since = time.time()
        time.sleep(1)  # the build's timestamps must be later
        try:
            path.write_text(original.replace(snippet, replacement), encoding="utf-8")
            outcome, failed = verdict(build, since, logs / f"{ident}.log")
        finally:
            path.write_text(original, encoding="utf-8")
        caught += outcome == "caught"
        print(f"{ident}\t{outcome}\t{failed}", flush=True)
    run("cmake", "--build", build, "-j2")
    print(f"caught {caught} of {len(chosen)}")


main()

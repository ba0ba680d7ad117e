#!/usr/bin/env python3
"""Plants the faults of planted_faults.py one at a time in a scratch copy of
the tree, builds it, runs the tests that build compiles (cheap ones first,
stopping at the first failure) and prints whether each fault was caught.

A fault is caught when a test fails or times out. A planted tree that does not
build is a broken fault, not a catch; a search text that is missing makes the
fault not applicable. The worktree itself is never written to."""
import argparse
import json
import os
import re
import resource
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the work tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
from planted_faults import FAULTS, RESERVE  # noqa: E402

ROOT = Path(__file__).resolve().parent.parent
WINDOWS_FOLDERS = ("platform/win32/", "ui/win32/")
SKIPPED_DIRS = {"build", ".git", "Testing"}
# Cheapest first; a test matching none of these runs last.
ORDER = {
    "ci": ["kalmor_tests", "kalmor_fltk_rule_tests", "kalmor_posix_tests", "fuzz_",
           "kalmor_fault_tests", "fltk_gui"],
    "windows-x86": ["kalmor_win32_tests", "kalmor_tests", "kalmor_win32_gui_tests",
                    "checker_end_to_end", "release_package"],
}
ORDER["windows-x64"] = ORDER["windows-x86"]
# Tests that see a folder's faults first run first for that folder's faults.
NEAREST = {"platform/posix/": ["kalmor_posix_tests", "kalmor_fault_tests"],
           "ui/fltk/": ["kalmor_fltk_rule_tests", "fltk_gui"],
           "ui/win32/": ["kalmor_win32_gui_tests", "checker_end_to_end"]}
# A write that runs away must not fill the disk before its test times out.
FILE_SIZE_LIMIT = 4 << 30


def host_runs_32bit_code():
    """Starts the smallest i386 program (exit(0)): where the kernel runs no
    32-bit code the 32-bit build's tests are all skipped, so they catch nothing."""
    code = bytes([0x31, 0xDB, 0xB8, 1, 0, 0, 0, 0xCD, 0x80])  # xor ebx,ebx; mov eax,1; int 0x80
    base, size = 0x08048000, 52 + 32 + len(code)
    header = (b"\x7fELF\x01\x01\x01" + bytes(9) +
              (2).to_bytes(2, "little") + (3).to_bytes(2, "little") + (1).to_bytes(4, "little") +
              (base + 84).to_bytes(4, "little") + (52).to_bytes(4, "little") + bytes(8) +
              (52).to_bytes(2, "little") + (32).to_bytes(2, "little") + (1).to_bytes(2, "little") +
              bytes(6))
    segment = b"".join(v.to_bytes(4, "little") for v in (1, 0, base, base, size, size, 5, 0x1000))
    with tempfile.TemporaryDirectory() as folder:
        program = Path(folder) / "i386"
        program.write_bytes(header + segment + code)
        program.chmod(0o755)
        try:
            return subprocess.run([str(program)]).returncode == 0
        except OSError:
            return False


WINDOWS_PRESET = "windows-x86" if host_runs_32bit_code() else "windows-x64"


def preset_of(path):
    return WINDOWS_PRESET if path.startswith(WINDOWS_FOLDERS) else "ci"


def tracked_files(source, ref):
    """(root, relative paths) of the tree to copy: a commit's, or the work tree's."""
    if ref:
        export = Path(tempfile.mkdtemp(prefix="plant-faults-"))
        archive = subprocess.run(["git", "-C", str(source), "archive", ref],
                                 check=True, capture_output=True).stdout
        subprocess.run(["tar", "-x", "-C", str(export)], input=archive, check=True)
        root = export
        names = [str(p.relative_to(root)) for p in root.rglob("*") if p.is_file()]
    else:
        root = source
        out = subprocess.run(["git", "-C", str(source), "ls-files", "-co", "--exclude-standard"],
                             check=True, capture_output=True, text=True).stdout
        names = [n for n in out.splitlines() if (root / n).is_file()]
    return root, names


def sync(root, names, scratch):
    """Makes scratch hold exactly these files (build folders kept); only changed files are written."""
    wanted = set(names)
    for name in names:
        src, dst = root / name, scratch / name
        data = src.read_bytes()
        if dst.is_file() and dst.read_bytes() == data:
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        dst.write_bytes(data)
        dst.chmod(src.stat().st_mode & 0o777)
    for path in sorted(scratch.rglob("*"), reverse=True):
        rel = path.relative_to(scratch)
        if rel.parts[0] in SKIPPED_DIRS:
            continue
        if path.is_file() and str(rel) not in wanted:
            path.unlink()
        elif path.is_dir() and not any(path.iterdir()):
            path.rmdir()


def build(scratch, preset, log):
    if not (scratch / "build" / preset / "CMakeCache.txt").exists():
        if subprocess.run(["cmake", "--preset", preset], cwd=scratch, stdout=log,
                          stderr=subprocess.STDOUT).returncode != 0:
            return False
    return subprocess.run(["nice", "-n", "10", "cmake", "--build", f"build/{preset}", "-j2"],
                          cwd=scratch, stdout=log, stderr=subprocess.STDOUT).returncode == 0


def list_tests(scratch, preset, path=""):
    out = subprocess.run(["ctest", "--test-dir", f"build/{preset}", "--show-only=json-v1"],
                         cwd=scratch, check=True, capture_output=True, text=True).stdout
    tests = []
    for test in json.loads(out)["tests"]:
        props = {p["name"]: p["value"] for p in test.get("properties", [])}
        if props.get("DISABLED"):
            continue
        tests.append({"name": test["name"], "command": test["command"],
                      "env": props.get("ENVIRONMENT", []),
                      "cwd": props.get("WORKING_DIRECTORY", str(scratch / "build" / preset)),
                      "timeout": float(props.get("TIMEOUT", 1500)),
                      "skip": props.get("SKIP_RETURN_CODE")})
    order = ORDER.get(preset, [])
    for folder, first in NEAREST.items():
        if path.startswith(folder):
            order = first + [key for key in order if key not in first]

    def rank(test):
        text = test["name"] + " " + " ".join(test["command"])
        return next((i for i, key in enumerate(order) if key in text), len(order))

    return sorted(tests, key=rank)  # stable: ctest's order within a rank


def limit_file_size():
    os.setsid()
    resource.setrlimit(resource.RLIMIT_FSIZE, (FILE_SIZE_LIMIT, FILE_SIZE_LIMIT))


def run_test(test, cap, log):
    """'pass', 'fail' or 'timeout'."""
    env = dict(os.environ)
    for item in test["env"]:
        key, _, value = item.partition("=")
        env[key] = value
    proc = subprocess.Popen(["nice", "-n", "10"] + test["command"], cwd=test["cwd"], env=env,
                            stdout=log, stderr=subprocess.STDOUT, preexec_fn=limit_file_size)
    try:
        code = proc.wait(timeout=min(test["timeout"], cap))
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        return "timeout"
    finally:
        try:
            os.killpg(proc.pid, signal.SIGKILL)  # whatever the test left behind
        except ProcessLookupError:
            pass
    if code == 0 or (test["skip"] is not None and code == int(test["skip"])):
        return "pass"
    return "fail"


def run_suite(scratch, preset, cap, log, path="", only=None):
    """(verdict, test) for the first test that does not pass, else ('pass', None)."""
    for test in list_tests(scratch, preset, path):
        if only and not re.search(only, test["name"]):
            continue
        verdict = run_test(test, cap, log)
        if verdict != "pass":
            return verdict, test["name"]
    return "pass", None


def stop_wine(scratch, preset):
    # Only the scratch build's own prefixes: other people's Wine runs beside ours.
    for prefix in (scratch / "build" / preset).glob("wineprefix*"):
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=str(prefix)),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--only", nargs="+", metavar="ID", help="plant only these faults")
    parser.add_argument("--preset", choices=sorted(ORDER), help="only the faults this preset builds")
    parser.add_argument("--ref", help="test this commit's tree instead of the work tree")
    parser.add_argument("--scratch", default=str(ROOT) + "-scratch", help="the scratch copy")
    parser.add_argument("--timeout", type=float, default=180, help="seconds per test at most")
    parser.add_argument("--tests", metavar="REGEX", help="run only the tests whose ctest name matches")
    parser.add_argument("--check-clean", action="store_true",
                        help="first run the unplanted suites, which must pass")
    parser.add_argument("--reserve", action="store_true", help="plant the reserve faults too")
    parser.add_argument("--list", action="store_true", help="print the faults and stop")
    parser.add_argument("--log", default=None, help="build and test output (default: scratch/plant.log)")
    args = parser.parse_args()

    faults = [f for f in FAULTS + (RESERVE if args.reserve or args.only else []) if (not args.only or f[0] in args.only)
              and (not args.preset or preset_of(f[1]) == args.preset)]
    if args.only:
        unknown = set(args.only) - {f[0] for f in faults}
        if unknown:
            parser.error("unknown fault ids: " + " ".join(sorted(unknown)))
    if args.list:
        for ident, path, _, _, what in faults:
            print(f"{ident:30} {path:45} {what}")
        return 0

    scratch = Path(args.scratch).resolve()
    if scratch == ROOT or ROOT in scratch.parents:
        parser.error("the scratch copy must lie outside the work tree")
    scratch.mkdir(parents=True, exist_ok=True)
    root, names = tracked_files(ROOT, args.ref)
    sync(root, names, scratch)
    log = open(args.log or scratch / "plant.log", "a")
    presets = sorted({preset_of(f[1]) for f in faults}, key=list(ORDER).index)

    for preset in presets:
        if not build(scratch, preset, log):
            print(f"the unplanted tree does not build ({preset}); see {log.name}")
            return 2
        if args.check_clean:
            verdict, name = run_suite(scratch, preset, args.timeout, log, only=args.tests)
            stop_wine(scratch, preset)
            if verdict != "pass":
                print(f"the unplanted suite does not pass ({preset}): {name} {verdict}")
                return 2

    counts = {}
    for preset in presets:
        for ident, path, search, replace, what in faults:
            if preset_of(path) != preset:
                continue
            started = time.monotonic()
            target = scratch / path
            original = target.read_text() if target.is_file() else ""
            pairs = list(zip(search, replace)) if isinstance(search, tuple) else [(search, replace)]
            if any(original.count(text) != 1 for text, _ in pairs):
                result = "not applicable"
            else:
                print(f"--- {ident}", file=log, flush=True)
                planted = original
                for text, replacement in pairs:
                    planted = planted.replace(text, replacement)
                target.write_text(planted)
                try:
                    if not build(scratch, preset, log):
                        result = "broken (does not build)"
                    else:
                        verdict, name = run_suite(scratch, preset, args.timeout, log, path, args.tests)
                        result = "not caught" if verdict == "pass" else f"caught ({verdict}: {name})"
                finally:
                    target.write_text(original)
                    if preset != "ci":
                        stop_wine(scratch, preset)
            kind = result.split(" (")[0]
            counts[kind] = counts.get(kind, 0) + 1
            print(f"{ident:30} {preset:12} {time.monotonic() - started:6.0f} s  {result}", flush=True)
    print("total: " + ", ".join(f"{n} {k}" for k, n in sorted(counts.items())) +
          f" of {len(faults)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

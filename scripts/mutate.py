#!/usr/bin/env python3
"""Mutation sampler: how many small faults in the Qt-free core do the core tests catch?

Applies single-point mutations (flipped comparisons, swapped logic, constants one higher, swapped
arithmetic, swapped arguments, removed statements) to shipfile/, editing/ and the viewer's
Qt-free core, one at a time, in a private copy of the source tree. Each mutant is rebuilt in a
core-only build and the core tests run until the first failure. A mutant is killed when a test
fails or times out, survives when every test passes, and is stillborn when it does not compile
(stillborn mutants are left out of the rate). The same --seed and --count pick the same mutants
from the same sources.

  scripts/mutate.py --count 200 --seed 1 --jobs 2 --report mutants.txt [--minutes 60]
"""
import argparse
import concurrent.futures
import pathlib
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
MUTATED_DIRS = ["shipfile", "editing"]
VIEWER_CORE = ["Camera", "FixedViews", "Matrix4", "MouseDrag", "ShownFaces", "Tcache"]
SKIPPED = {"Messages.cpp", "Messages.h"}

# (name, pattern, replacement) applied at one match at a time.
OPERATORS = [
    ("< to <=", r" < ", " <= "),
    ("<= to <", r" <= ", " < "),
    ("> to >=", r" > ", " >= "),
    (">= to >", r" >= ", " > "),
    ("== to !=", r" == ", " != "),
    ("!= to ==", r" != ", " == "),
    ("&& to ||", r" && ", " || "),
    ("|| to &&", r" \|\| ", " && "),
    ("+ to -", r" \+ ", " - "),
    ("- to +", r" - ", " + "),
    ("true to false", r"\btrue\b", "false"),
    ("false to true", r"\bfalse\b", "true"),
]
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
SWAPPABLE_CALL = re.compile(r"\b(\w+)\((\w+), (\w+)\)")
# A statement that is a call or an assignment to one name: removing it should matter.
STATEMENT = re.compile(r"^\s*(?:[A-Za-z_][\w]*(?:\.|->|::))*[A-Za-z_]\w*"
                       r"(?:\[[^\]]*\])?\s*(?:\(.*\)|[-+*/|&]?=\s*[^=].*|\+\+|--);\s*$")
DECLARATION_START = re.compile(r"^\s*(return|const|auto|static|using|namespace|case|default|"
                               r"break|continue|template|typedef|struct|class|enum|goto|throw)\b")


def source_files(tree):
    files = []
    for folder in MUTATED_DIRS:
        files += sorted(p for p in (tree / folder).iterdir()
                        if p.suffix in (".cpp", ".h") and p.name not in SKIPPED)
    for stem in VIEWER_CORE:
        files += [tree / "viewer" / f"{stem}{suffix}" for suffix in (".cpp", ".h")
                  if (tree / "viewer" / f"{stem}{suffix}").exists()]
    return files


def code_part(line):
    """The part of a line that mutations may touch: no preprocessor lines, comments or strings."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("#", "//", "/*", "*")):
        return None
    cut = line.find("//")
    code = line if cut < 0 else line[:cut]
    if '"' in code or "'" in code or "static_assert" in code:
        return None
    return code


def mutants_of(relative, lines):
    found = []
    for number, line in enumerate(lines, start=1):
        code = code_part(line)
        if code is None:
            continue
        for name, pattern, replacement in OPERATORS:
            for match in re.finditer(pattern, code):
                found.append((relative, number, name,
                              line[:match.start()] + replacement + line[match.end():]))
        if not re.search(r"\b(case|alignas|template)\b|\[\d+\]", code):
            for match in NUMBER.finditer(code):
                value = int(match.group(1))
                found.append((relative, number, f"{value} to {value + 1}",
                              line[:match.start()] + str(value + 1) + line[match.end():]))
        for match in SWAPPABLE_CALL.finditer(code):
            if match.group(2) != match.group(3):
                found.append((relative, number, "swap arguments",
                              line[:match.start()] +
                              f"{match.group(1)}({match.group(3)}, {match.group(2)})" +
                              line[match.end():]))
        if STATEMENT.match(code) and not DECLARATION_START.match(code):
            found.append((relative, number, "remove statement", ""))
    return found


def all_mutants(tree):
    found = []
    for path in source_files(tree):
        lines = path.read_text().split("\n")
        found += mutants_of(str(path.relative_to(tree)), lines)
    return found


def copy_tree(source, target):
    tracked = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard"],
                             cwd=source, capture_output=True, text=True, check=True).stdout.split()
    for name in tracked:
        origin, copy = source / name, target / name
        # Unchanged files keep their time stamps, so a reused build rebuilds only what changed.
        if origin.is_file() and not (copy.is_file() and copy.read_bytes() == origin.read_bytes()):
            copy.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(origin, copy)


def run(command, cwd, timeout=None):
    try:
        return subprocess.run(command, cwd=cwd, capture_output=True, text=True,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def configure(workdir):
    source, build = workdir / "src", workdir / "build"
    command = ["cmake", "-S", source, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
               "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g0", "-DKORVEX_CORE_ONLY=ON", "-DKORVEX_WERROR=OFF"]
    if shutil.which("ccache"):
        command.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    if run(command, workdir) != 0 or run(["cmake", "--build", build], workdir) != 0:
        sys.exit(f"the unmutated core does not build in {workdir}")
    if run(["ctest", "--test-dir", build, "-j", "2", "--timeout", "300"], workdir) != 0:
        sys.exit("the core tests fail without any mutation: fix them first")


def try_mutant(workdir, mutant, test_timeout):
    relative, number, _, replacement = mutant
    path = workdir / "src" / relative
    original = path.read_text()
    lines = original.split("\n")
    lines[number - 1] = replacement
    path.write_text("\n".join(lines))
    try:
        if run(["cmake", "--build", workdir / "build"], workdir, timeout=900) != 0:
            return "stillborn"
        result = run(["ctest", "--test-dir", workdir / "build", "--stop-on-failure", "-j", "2",
                      "--timeout", str(test_timeout)], workdir, timeout=1800)
        return "survived" if result == 0 else "killed"
    finally:
        path.write_text(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tree", type=pathlib.Path, default=ROOT, help="source tree to mutate")
    parser.add_argument("--count", type=int, default=200, help="mutants to try")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=1, help="mutants tried at once")
    parser.add_argument("--test-timeout", type=int, default=60, help="seconds per test")
    parser.add_argument("--minutes", type=float,
                        help="start no new mutant after this long; the rate is of those tried")
    parser.add_argument("--report", type=pathlib.Path, help="write every mutant's outcome here")
    parser.add_argument("--workdir", type=pathlib.Path,
                        help="keep the copies and builds here and reuse them next time")
    parser.add_argument("--list", action="store_true", help="only list the sampled mutants")
    args = parser.parse_args()

    tree = args.tree.resolve()
    candidates = all_mutants(tree)
    sample = random.Random(args.seed).sample(candidates, min(args.count, len(candidates)))
    print(f"{len(candidates)} possible mutants; trying {len(sample)} (seed {args.seed})")
    if args.list:
        for relative, number, name, _ in sample:
            print(f"{relative}:{number}: {name}")
        return 0

    scratch = args.workdir or pathlib.Path(tempfile.mkdtemp(prefix="korvex-mutate-"))
    workdirs = [scratch / f"worker{i}" for i in range(args.jobs)]
    for workdir in workdirs:
        (workdir / "src").mkdir(parents=True, exist_ok=True)
        copy_tree(tree, workdir / "src")
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        list(pool.map(configure, workdirs))

    outcomes = [None] * len(sample)
    deadline = time.monotonic() + 60 * args.minutes if args.minutes else None

    def worker(index):
        workdir = workdirs[index]
        for position in range(index, len(sample), args.jobs):
            if deadline and time.monotonic() > deadline:
                return
            outcomes[position] = try_mutant(workdir, sample[position], args.test_timeout)
            relative, number, name, _ = sample[position]
            print(f"[{position + 1}/{len(sample)}] {outcomes[position]:9} "
                  f"{relative}:{number}: {name}", flush=True)

    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        list(pool.map(worker, range(args.jobs)))
    if not args.workdir:
        shutil.rmtree(scratch, ignore_errors=True)

    killed = outcomes.count("killed")
    survived = outcomes.count("survived")
    stillborn = outcomes.count("stillborn")
    rate = 100.0 * killed / (killed + survived) if killed + survived else 0.0
    summary = (f"killed {killed}, survived {survived}, stillborn {stillborn}: "
               f"kill rate {rate:.1f} % of {killed + survived} compiled mutants")
    print(summary)
    if args.report:
        with args.report.open("w") as out:
            out.write(summary + "\n")
            for (relative, number, name, replacement), outcome in zip(sample, outcomes):
                if outcome is None:
                    continue
                out.write(f"{outcome:9} {relative}:{number}: {name}: {replacement.strip()}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())

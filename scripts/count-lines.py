#!/usr/bin/env python3
"""Counts the project's C++ lines (non-blank, non-comment) and the share the tests take.

Test lines are those under tests/; code is every other tracked C++ file. With --check it exits 1
when the tests are more than a third of the whole.
"""
import pathlib
import re
import subprocess
import sys

SUFFIXES = {".cpp", ".h", ".hpp", ".cc"}
BLOCK_COMMENT = re.compile(r"/\*.*?\*/", re.S)
STRING = re.compile(r'"(?:\\.|[^"\\\n])*"')


def counted_lines(text):
    # Strings first, so that a "//" or "/*" inside a literal does not start a comment.
    text = STRING.sub('""', text)
    text = BLOCK_COMMENT.sub(lambda m: "\n" * m.group(0).count("\n"), text)
    return sum(1 for line in text.splitlines()
               if line.strip() and not line.strip().startswith("//"))


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    files = subprocess.run(["git", "ls-files"], cwd=root, capture_output=True, text=True,
                           check=True).stdout.split()
    tests = code = 0
    for name in files:
        path = root / name
        if path.suffix not in SUFFIXES or not path.is_file():
            continue
        lines = counted_lines(path.read_text(encoding="utf-8", errors="replace"))
        if name.startswith("tests/"):
            tests += lines
        else:
            code += lines
    total = tests + code
    share = 100.0 * tests / total if total else 0.0
    print(f"C++ lines (non-blank, non-comment): tests {tests:,}, code {code:,}, "
          f"tests {share:.1f} % of {total:,} (limit 33.3 %)")
    return 1 if "--check" in sys.argv[1:] and 3 * tests > total else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Finds faults the tests would not notice.

Makes one small change at a time in the product code (a comparison boundary
moved by one, a condition negated, a character or string literal changed,
...), rebuilds the unit and widget tests in the "ci" build and runs them.
A change no test fails on survives; each survivor is listed with the line
it changed. Every file is put back afterwards, also on Ctrl+C.

Runs on demand, not in tools/test.sh: a sample of 50 changes takes about
half an hour on two cores.

  tools/mutate.py                        # 50 changes drawn from the default folders
  tools/mutate.py --max 10 --files core/weekpage.cpp
  tools/mutate.py --list --files texts   # the changes it could make, without running
  tools/mutate.py --only platform/pagedecoding.cpp:58:57:constant   # try these again
"""

import argparse
import json
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_FOLDERS = ["core", "platform", "session", "settings", "texts"]
LABELS = "^(unit|widget)$"

# Lines whose change no test can see, or that are not code: logging, asserts
# (compiled out in the "ci" build), preprocessor lines.
SKIPPED_LINE = re.compile(r"^\s*(#|qC(Debug|Info|Warning|Critical)|Q_ASSERT|static_assert|Q_LOGGING_CATEGORY)")

# Operators with spaces around, as clang-format writes them, so that
# template brackets, "->" and "<<" do not match.
SWAPS = {
    "boundary": {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > "},
    "equality": {" == ": " != ", " != ": " == "},
    "logic": {" && ": " || ", " || ": " && "},
}
BOOLEANS = re.compile(r"\b(true|false)\b")
INTEGER = re.compile(r"(?<![\w.])(0x[0-9A-Fa-f]+|[1-9]\d*|0)(?![\w.])")
CONDITION = re.compile(r"\b(if|while) \(")
CHAR_ESCAPES = {"\\r": "\\n", "\\n": "\\r", "\\t": " ", "\\0": "1", "\\\\": "/"}


def literal_spans(line):
    """The (start, end) of each character and string literal, and where a
    comment starts (len(line) when none does)."""
    spans, i = [], 0
    while i < len(line):
        if line.startswith("//", i):
            return spans, i
        quote = line[i]
        if quote in "\"'":
            raw = quote == '"' and line[max(0, i - 1)] == "R"
            end = line.find(')"', i) + 1 if raw else i + 1
            while not raw and end < len(line) and line[end] != quote:
                end += 2 if line[end] == "\\" else 1
            if end <= 0 or end >= len(line):
                return spans, len(line)
            spans.append((i, end + 1, raw))
            i = end + 1
        else:
            i += 1
    return spans, len(line)


def changed_literal(text):
    """The literal with its first character changed, or None."""
    quote, body = text[0], text[1:-1]
    if not body:
        return quote + "x" + quote if quote == '"' else None
    if body[0] == "\\":
        escape = body[:2]
        return quote + CHAR_ESCAPES[escape] + body[2:] + quote if escape in CHAR_ESCAPES else None
    shifted = chr(ord(body[0]) + 1)
    if shifted in "\"'\\" or not shifted.isprintable():
        return None
    return quote + shifted + body[1:] + quote


def matching_paren(line, open_at):
    depth = 0
    for i in range(open_at, len(line)):
        depth += {"(": 1, ")": -1}.get(line[i], 0)
        if depth == 0:
            return i
    return None


def mutants_of_line(line):
    """Each (column, operator, new line) one change of the line makes."""
    spans, code_end = literal_spans(line)

    def in_code(start, end):
        return end <= code_end and not any(s < end and start < e for s, e, _ in spans)

    for op, swaps in SWAPS.items():
        for old, new in swaps.items():
            for m in re.finditer(re.escape(old), line):
                if in_code(m.start(), m.end()):
                    yield m.start(), op, line[: m.start()] + new + line[m.end() :]
    for m in BOOLEANS.finditer(line):
        if in_code(m.start(), m.end()):
            flipped = "false" if m.group() == "true" else "true"
            yield m.start(), "boolean", line[: m.start()] + flipped + line[m.end() :]
    for m in INTEGER.finditer(line):
        if in_code(m.start(), m.end()):
            value = int(m.group(), 0) + 1
            number = f"0x{value:X}" if m.group().startswith("0x") else str(value)
            yield m.start(), "constant", line[: m.start()] + number + line[m.end() :]
    for m in CONDITION.finditer(line):
        close = matching_paren(line, m.end() - 1)
        if close is not None and in_code(m.start(), m.end()):
            inner = line[m.end() : close]
            yield m.start(), "negate", line[: m.end()] + "!(" + inner + ")" + line[close:]
    for start, end, raw in spans:
        changed = None if raw or end > code_end else changed_literal(line[start:end])
        if changed:
            yield start, "literal", line[:start] + changed + line[end:]


def all_mutants(paths):
    for path in paths:
        lines = path.read_text(encoding="utf-8").split("\n")
        in_block_comment = in_skipped_statement = False
        for number, line in enumerate(lines, 1):
            stripped = line.strip()
            if in_block_comment or stripped.startswith("/*"):
                in_block_comment = "*/" not in stripped
                continue
            # A skipped statement goes on to the line that ends it.
            if in_skipped_statement or SKIPPED_LINE.match(line):
                in_skipped_statement = not stripped.endswith(";") and not stripped.startswith("#")
                continue
            for column, op, new_line in mutants_of_line(line):
                name = f"{path.relative_to(ROOT)}:{number}:{column + 1}:{op}"
                yield name, path, number, new_line


def product_files(selection):
    paths = []
    for entry in selection:
        path = ROOT / entry
        paths += sorted(path.rglob("*.cpp")) if path.is_dir() else [path]
    return [p for p in paths if not p.name.endswith("logging.cpp")]


def run(command, timeout=None):
    return subprocess.run(command, cwd=ROOT, capture_output=True, text=True, timeout=timeout)


def test_targets(build):
    listing = run(["ctest", "--test-dir", build, "--show-only=json-v1", "-L", LABELS])
    tests = json.loads(listing.stdout)["tests"]
    return sorted({Path(test["command"][0]).name for test in tests})


def verdict(build, targets, test_timeout):
    """"killed", "survived" or "not built" for the code as it is now."""
    built = run(["cmake", "--build", build, "--parallel", "2", "--target", *targets])
    if built.returncode != 0:
        return "not built"
    command = ["ctest", "--test-dir", build, "-L", LABELS, "--parallel", "2"]
    tested = run(command + ["--stop-on-failure", "--timeout", str(test_timeout)])
    return "survived" if tested.returncode == 0 else "killed"


class Interrupted(Exception):
    pass


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--files", nargs="+", default=DEFAULT_FOLDERS, help="product files or folders")
    parser.add_argument("--max", type=int, default=50, help="how many changes to try")
    parser.add_argument("--seed", type=int, default=24, help="which changes are drawn")
    parser.add_argument("--only", nargs="+", help="names of changes to try, as listed")
    parser.add_argument("--list", action="store_true", help="list the drawn changes and stop")
    parser.add_argument("--build", default="build", help="the configured build folder")
    parser.add_argument("--test-timeout", type=int, default=120, help="seconds a test may take")
    args = parser.parse_args()

    candidates = list(all_mutants(product_files(args.files)))
    if args.only:
        chosen = [m for m in candidates if m[0] in args.only]
        missing = set(args.only) - {m[0] for m in chosen}
        if missing:
            sys.exit("no such change: " + ", ".join(sorted(missing)))
    else:
        chosen = random.Random(args.seed).sample(candidates, min(args.max, len(candidates)))
    if args.list:
        for name, _, _, new_line in chosen:
            print(f"{name}\t{new_line.strip()}")
        return

    def interrupt(signum, frame):
        # Once, so that a second Ctrl+C cannot cut the putting back short.
        signal.signal(signal.SIGINT, signal.SIG_IGN)
        signal.signal(signal.SIGTERM, signal.SIG_IGN)
        raise Interrupted()

    signal.signal(signal.SIGINT, interrupt)
    signal.signal(signal.SIGTERM, interrupt)

    targets = test_targets(args.build)
    counts, survivors = {}, []
    print(f"{len(chosen)} of {len(candidates)} changes; tests: {', '.join(targets)}", flush=True)
    try:
        if verdict(args.build, targets, args.test_timeout) != "survived":
            sys.exit("the tests fail without any change: mend them first")
        for index, (name, path, number, new_line) in enumerate(chosen, 1):
            original = path.read_text(encoding="utf-8")
            lines = original.split("\n")
            lines[number - 1] = new_line
            started = time.monotonic()
            try:
                path.write_text("\n".join(lines), encoding="utf-8")
                result = verdict(args.build, targets, args.test_timeout)
            finally:
                path.write_text(original, encoding="utf-8")
            counts[result] = counts.get(result, 0) + 1
            if result == "survived":
                survivors.append((name, new_line.strip()))
            print(f"[{index}/{len(chosen)}] {result:9} {time.monotonic() - started:5.0f} s  {name}", flush=True)
    except Interrupted:
        print("interrupted; every file is as it was", file=sys.stderr)
    finally:
        # What the last change built is replaced; ccache makes this quick.
        run(["cmake", "--build", args.build, "--parallel", "2", "--target", *targets])

    print("\n" + ", ".join(f"{count} {result}" for result, count in sorted(counts.items())))
    for name, new_line in survivors:
        print(f"survived: {name}\n    {new_line}")


if __name__ == "__main__":
    main()

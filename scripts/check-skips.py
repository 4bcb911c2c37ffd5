#!/usr/bin/env python3
"""Fails a test run that skipped a test nobody expected to be skipped.

Reads the JUnit file that `ctest --output-junit` wrote for one build tree
and the list of expected skips. A skip is a ctest entry that did not run
(a skip return code or message) or a GoogleTest case that reported
"[  SKIPPED ]" inside an entry that ran a whole test program, as the
Windows trees do. Each line of the list reads
    <tree pattern> <test pattern> <reason>
with fnmatch patterns; '#' starts a comment. A skip the list does not
expect is named with its message, and the exit status is 1.
"""
import fnmatch
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

GTEST_SKIP_LINE = re.compile(r"^\[  SKIPPED \] (\S+)(?: \(\d+ ms\))?$")


def expected_patterns(path, tree):
    patterns = []
    with open(path, encoding="utf-8") as listing:
        for line in listing:
            fields = line.split("#", 1)[0].split(None, 2)
            if len(fields) >= 2 and fnmatch.fnmatchcase(tree, fields[0]):
                patterns.append(fields[1])
    return patterns


def last_line(text):
    lines = [line for line in (text or "").splitlines() if line.strip()]
    return lines[-1].strip()[:200] if lines else ""


def skipped_tests(junit_path):
    """(name, message) for every test the run skipped."""
    skipped = []
    for case in ElementTree.parse(junit_path).getroot().iter("testcase"):
        output = case.findtext("system-out") or ""
        if case.get("status") in ("notrun", "disabled") or case.find("skipped") is not None:
            skipped.append((case.get("name", "?"), last_line(output)))
            continue
        reported = set()
        for line in output.splitlines():
            match = GTEST_SKIP_LINE.match(line.strip())
            if match and match.group(1) not in reported:
                reported.add(match.group(1))
                skipped.append((match.group(1), "skipped inside " + case.get("name", "?")))
    return skipped


def main(argv):
    if len(argv) != 4:
        print("usage: check-skips.py <tree> <ctest-junit.xml> <expected-skips.txt>",
              file=sys.stderr)
        return 2
    tree, junit, listing = argv[1:]
    patterns = expected_patterns(listing, tree)
    # CTest writes the file last; without it nothing says which tests ran.
    if not os.path.exists(junit):
        print(f"no test results for {tree}: {junit} is missing (did CTest end early, "
              "or is the disk full?)")
        return 1
    unexpected = [(name, message) for name, message in skipped_tests(junit)
                  if not any(fnmatch.fnmatchcase(name, p) for p in patterns)]
    for name, message in unexpected:
        print(f"unexpected skip ({tree}): {name}" + (f": {message}" if message else ""))
    if unexpected:
        print(f"{len(unexpected)} test(s) skipped in {tree} that {listing} does not expect")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

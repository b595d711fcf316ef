#!/usr/bin/env python3
"""Counts the test cases of every tier of scripts/test and prints the closing line.

Each tier leaves a CTest JUnit report (one entry per test program) and, per program, GoogleTest's XML
report named after the program. A program's cases are counted from its GoogleTest report; a program
that failed without one (it crashed, hung or could not start) counts as one failed case, and so does a
program whose cases all passed while the program itself failed (a leak report, a crash at exit).
Other checks append "name passed|failed" lines to extra.txt in the results folder.
"""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path):
    root = ET.parse(path).getroot()
    tests = int(root.get("tests", 0))
    failed = int(root.get("failures", 0)) + int(root.get("errors", 0))
    skipped = int(root.get("disabled", 0)) + int(root.get("skipped", 0))
    return tests - failed - skipped, failed


def tier_counts(junit, gtest_dir):
    passed = failed = 0
    failures = []
    if not os.path.exists(junit):
        return 0, 1, [f"{junit}: no report"]
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name")
        program_failed = case.get("status") not in ("run", "passed") or case.find("failure") is not None
        report = os.path.join(gtest_dir, name + ".xml")
        if os.path.exists(report):
            try:
                p, f = gtest_counts(report)
            except ET.ParseError:
                p, f = 0, 1
            if program_failed and f == 0:
                f = 1
            passed += p
            failed += f
        elif program_failed:
            failed += 1
        else:
            passed += 1
        if program_failed:
            failures.append(name)
    return passed, failed, failures


def main():
    results = sys.argv[1]
    passed = failed = 0
    for tier in sys.argv[2:]:
        p, f, names = tier_counts(os.path.join(results, tier + ".junit.xml"), os.path.join(results, tier))
        passed += p
        failed += f
        for name in names:
            print(f"FAILED [{tier}] {name}")
    extra = os.path.join(results, "extra.txt")
    if os.path.exists(extra):
        for line in open(extra, encoding="utf-8"):
            name, _, verdict = line.strip().rpartition(" ")
            if verdict == "passed":
                passed += 1
            else:
                failed += 1
                print(f"FAILED {name}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

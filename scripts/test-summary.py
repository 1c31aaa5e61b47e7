#!/usr/bin/env python3
"""Counts the results of one scripts/test run and prints `N passed, N failed`.

Arguments: build directories whose ctest run wrote ctest-junit.xml (with the
GoogleTest programs' own XML in test-results/), then `--extra FILE`: lines
"PASS name" / "FAIL name" for builds, fuzz runs and checks, one test each;
"SKIP name" for what this machine could not run (listed, not counted).
A GoogleTest program counts its individual cases; a CTest entry that failed
without a failed case in its XML (a crash, a timeout) counts one failure more.
"""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path):
    passed = failed = 0
    for case in ET.parse(path).iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("status", "run") == "run" and case.get("result", "completed") == "completed":
            passed += 1
    return passed, failed


def build_counts(build_dir, failures):
    passed = failed = 0
    junit = os.path.join(build_dir, "ctest-junit.xml")
    if not os.path.exists(junit):
        failures.append(f"{build_dir}: no CTest results")
        return 0, 1
    for entry in ET.parse(junit).iter("testcase"):
        name = entry.get("name")
        ctest_failed = entry.get("status") not in ("run", "disabled", "notrun") \
            or entry.find("failure") is not None
        if entry.get("status") in ("disabled", "notrun") and entry.find("failure") is None:
            continue
        xml = os.path.join(build_dir, "test-results", name + ".xml")
        cases_passed = cases_failed = 0
        if os.path.exists(xml):
            try:
                cases_passed, cases_failed = gtest_counts(xml)
            except ET.ParseError:
                pass
        elif not ctest_failed:
            cases_passed = 1
        if ctest_failed and cases_failed == 0:
            cases_failed = 1
        if cases_failed:
            failures.append(f"{os.path.basename(build_dir)}: {name}")
        passed += cases_passed
        failed += cases_failed
    return passed, failed


def main(argv):
    passed = failed = 0
    failures = []
    skipped = []
    args = list(argv)
    extras = []
    while "--extra" in args:
        i = args.index("--extra")
        extras.append(args[i + 1])
        del args[i:i + 2]
    for build_dir in args:
        p, f = build_counts(build_dir, failures)
        passed += p
        failed += f
    for extra in extras:
        if not os.path.exists(extra):
            continue
        for line in open(extra):
            verdict, _, name = line.strip().partition(" ")
            if verdict == "PASS":
                passed += 1
            elif verdict == "FAIL":
                failed += 1
                failures.append(name)
            elif verdict == "SKIP":
                skipped.append(name)
    for name in skipped:
        print(f"SKIPPED: {name}")
    for name in failures:
        print(f"FAILED: {name}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

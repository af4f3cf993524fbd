#!/usr/bin/env python3
"""The test suite's share of the code: lines of tests/ and of the test scripts in tools/
(test_*.py) against all other C++, Python and shell lines of app/, button/, skin/, core/ and
tools/. The aim is a quarter to a third.

    tools/code_share.py
"""
import os
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CODE = (".cpp", ".h", ".py", ".sh")


def lines(path):
    with open(os.path.join(ROOT, path), "rb") as f:
        return f.read().count(b"\n")


def main():
    files = subprocess.run(["git", "ls-files"], cwd=ROOT, capture_output=True, text=True,
                           check=True).stdout.split()
    counts = {"program": 0, "tools": 0, "tests": 0}
    for path in files:
        top = path.split("/", 1)[0]
        name = os.path.basename(path)
        if top == "tests" or (top == "tools" and name.startswith("test_") and name.endswith(".py")):
            counts["tests"] += lines(path)
        elif top == "tools" and path.endswith(CODE):
            counts["tools"] += lines(path)
        elif top in ("app", "button", "skin", "core") and path.endswith(CODE):
            counts["program"] += lines(path)
    rest = counts["program"] + counts["tools"]
    print(f"program {counts['program']}, tools {counts['tools']}, tests {counts['tests']}: "
          f"tests / rest = {counts['tests']} / {rest} = {counts['tests'] / rest:.3f}")


if __name__ == "__main__":
    main()

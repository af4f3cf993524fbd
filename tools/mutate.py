#!/usr/bin/env python3
"""Mutation check: how many small faults in the program's sources do the tests catch?

    tools/mutate.py [--build build/win64] [--seed 11] [--count 100] [--list] [--only 3,17]

It makes one small fault at a time in the sources of app/, button/, skin/ and core/ (a
comparison flipped, && and || swapped, a whole number changed by one, return true and false
swapped, one statement line removed), picked from a seeded random sample of every place such
a fault can go. For each fault it rebuilds the build tree incrementally, runs the test
programs that link the changed code (fastest first, until one fails), and prints the file
and line, the change, and whether a test killed it, it survived, or it did not compile. At
the end: the kill rate over the faults that compiled. Every changed file is put back after
each fault, also when the run is interrupted; a run that was killed outright is mended by the
next one (the originals wait in <build>/mutate-journal.json).

A test that fails on a fault is run once more: only a second failure counts as a kill, so a
test that failed for another reason (a loaded machine) kills nothing. What a killing test
printed is kept in <build>/mutants/. The same seed and count on the same sources always give
the same faults, so two versions of the test suite can be compared on them. The report of
the last run is <build>/mutants.tsv.
"""
import argparse
import json
import os
import random
import re
import signal
import subprocess
import sys
import time

from mutation_sites import FOLDERS, ROOT, all_candidates, apply, describe


# ---- Putting files back ----------------------------------------------------------------

class Journal:
    """The original of the file being changed, on disk, so that nothing stays mutated."""

    def __init__(self, build):
        self.path = os.path.join(build, "mutate-journal.json")

    def mend(self):
        if not os.path.exists(self.path):
            return
        with open(self.path, encoding="utf-8") as f:
            saved = json.load(f)
        with open(saved["file"], "w", encoding="utf-8", newline="") as f:
            f.write(saved["text"])
        os.remove(self.path)
        print(f"mutate: put back {os.path.relpath(saved['file'], ROOT)} from an interrupted run")

    def change(self, path, original, mutated):
        with open(self.path, "w", encoding="utf-8") as f:
            json.dump({"file": path, "text": original}, f)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(mutated)

    def restore(self, path, original):
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(original)
        if os.path.exists(self.path):
            os.remove(self.path)


# ---- What covers what --------------------------------------------------------------------

def code_model(build):
    """Targets with their sources, artifacts and dependencies, from CMake's file API."""
    query = os.path.join(build, ".cmake", "api", "v1", "query", "codemodel-v2")
    os.makedirs(os.path.dirname(query), exist_ok=True)
    open(query, "a").close()
    subprocess.run(["cmake", build], check=True, stdout=subprocess.DEVNULL)
    reply = os.path.join(build, ".cmake", "api", "v1", "reply")
    index = sorted(n for n in os.listdir(reply) if n.startswith("index-"))[-1]
    with open(os.path.join(reply, index)) as f:
        model_file = json.load(f)["reply"]["codemodel-v2"]["jsonFile"]
    with open(os.path.join(reply, model_file)) as f:
        configuration = json.load(f)["configurations"][0]
    targets = {}
    for entry in configuration["targets"]:
        with open(os.path.join(reply, entry["jsonFile"])) as f:
            target = json.load(f)
        targets[target["id"]] = target
    return targets


def owners(targets, relative):
    """The targets that compile `relative`, or for a header the targets of its folder."""
    def compiled(path):
        return {t["name"] for t in targets.values()
                for s in t.get("sources", []) if os.path.normpath(s["path"]) == path}
    found = compiled(relative)
    if not found and relative.endswith(".h"):
        found = compiled(relative[:-2] + ".cpp")
    if not found:
        folder = os.path.dirname(relative)
        found = {t["name"] for t in targets.values() for s in t.get("sources", [])
                 if os.path.dirname(os.path.normpath(s["path"])) == folder}
    return found


def dependencies(targets):
    by_id = {t["id"]: t["name"] for t in targets.values()}
    direct = {t["name"]: {by_id[d["id"]] for d in t.get("dependencies", [])}
              for t in targets.values()}

    def closure(name, seen=None):
        seen = set() if seen is None else seen
        for dep in direct.get(name, ()):
            if dep not in seen:
                seen.add(dep)
                closure(dep, seen)
        return seen
    return {name: closure(name) | {name} for name in direct}


def tests_of(build, targets):
    """The ctest tests that run something built here: name, command, environment, folder,
    and the target whose artifact they run."""
    listing = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"], check=True,
                             capture_output=True, text=True).stdout
    artifacts = {}
    for target in targets.values():
        for artifact in target.get("artifacts", []):
            path = artifact["path"]
            if path.endswith(".exe"):
                artifacts[os.path.normpath(os.path.join(build, path))] = target["name"]
    tests = []
    for test in json.loads(listing)["tests"]:
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        environment = properties.get("ENVIRONMENT", [])
        words = test.get("command", []) + environment
        runs = {name for path, name in artifacts.items() if any(path in w for w in words)}
        if not runs:
            continue  # fixtures, and checks of generated files
        tests.append({"name": test["name"], "command": test["command"], "env": environment,
                      "cwd": properties.get("WORKING_DIRECTORY", build), "targets": runs})
    return tests


def wine_state(build):
    return os.path.join(build, "wine")


# ---- Building and testing ----------------------------------------------------------------

def build_targets(build, names, jobs):
    result = subprocess.run(["cmake", "--build", build, "-j", str(jobs), "--target", *sorted(names)],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode == 0, result.stdout


def run_test(test, timeout, build):
    env = dict(os.environ)
    for item in test["env"]:
        key, _, value = item.partition("=")
        env[key] = value
    start = time.monotonic()
    process = subprocess.Popen(test["command"], cwd=test["cwd"], env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
        passed = process.returncode == 0
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        output, _ = process.communicate()
        passed = False
        output += b"\n(timed out)"
        # `timeout` gives the hung program a process group of its own, so it lives on in the
        # Wine prefix with its windows, which would mislead every later test: end them all.
        wine_env = [os.path.join(ROOT, "tools", "wine-env.sh"), "--state", wine_state(build)]
        subprocess.run(wine_env + ["down"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(wine_env + ["up"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return passed, time.monotonic() - start, output.decode("utf-8", "replace")


def failed_cases(output):
    """The names of the failed cases in a GoogleTest or unittest report."""
    cases = re.findall(r"^\[  FAILED  \] ([\w/.]+) \(", output, re.M)
    cases += re.findall(r"^(?:FAIL|ERROR): (\w+)", output, re.M)
    return sorted(set(cases))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "win64"))
    parser.add_argument("--seed", type=int, default=11)
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--only", default="", help="run only these numbers of the sample")
    parser.add_argument("--every-test", action="store_true",
                        help="run every covering test on each fault and name each test case "
                             "that fails, to see which tests catch what")
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    journal = Journal(build)
    journal.mend()

    pool = all_candidates()
    chosen = random.Random(args.seed).sample(range(len(pool)), min(args.count, len(pool)))
    sample = [dict(pool[i], number=n) for n, i in enumerate(sorted(chosen), start=1)]
    print(f"mutate: {len(pool)} places for faults in {', '.join(FOLDERS)}; "
          f"seed {args.seed}, {len(sample)} faults")
    if args.list:
        for m in sample:
            print(f"{m['number']:4} {m['file']}:{m['line']}  {m['kind']:10} {describe(m)}")
        return 0
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        sample = [m for m in sample if m["number"] in wanted]

    targets = code_model(build)
    closure = dependencies(targets)
    tests = tests_of(build, targets)

    def covering(relative):
        own = owners(targets, relative)
        return [t for t in tests if any(own & closure.get(r, set()) for r in t["targets"])]

    # A clean run first: every test must pass as the sources stand, and its time sets the
    # time a mutant gets before it counts as hung.
    needed = {r for t in tests for r in t["targets"]}
    ok, log = build_targets(build, needed, args.jobs)
    if not ok:
        print(log[-3000:])
        print("mutate: the unchanged sources do not build")
        return 2
    subprocess.run([os.path.join(ROOT, "tools", "wine-env.sh"), "--state", wine_state(build), "up"],
                   check=True)
    durations = {}
    for test in tests:
        passed, seconds, output = run_test(test, 900, build)
        if not passed:
            print(output[-3000:])
            print(f"mutate: {test['name']} fails on the unchanged sources")
            return 2
        durations[test["name"]] = seconds
    print("mutate: clean run passed (" +
          ", ".join(f"{n} {s:.1f} s" for n, s in sorted(durations.items())) + ")")

    report = []
    interrupted = False

    def stop(signum, frame):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, stop)
    try:
        for mutant in sample:
            path = os.path.join(ROOT, mutant["file"])
            with open(path, encoding="utf-8", newline="") as f:
                original = f.read()
            chosen_tests = sorted(covering(mutant["file"]), key=lambda t: durations[t["name"]])
            killer = ""
            try:
                journal.change(path, original, apply(original, mutant))
                ok, _ = build_targets(build, {r for t in chosen_tests for r in t["targets"]},
                                      args.jobs)
                if not ok:
                    result = "did-not-compile"
                else:
                    result = "survived"
                    failed = []
                    for test in chosen_tests:
                        # Generous: a loaded machine must not pass for a hang; a real hang
                        # takes far longer.
                        limit = 4 * durations[test["name"]] + 60
                        passed, _, output = run_test(test, limit, build)
                        if not passed:
                            # A fault fails its test every time; a test that passes on a
                            # second run failed for another reason, and kills nothing.
                            again, _, second = run_test(test, limit, build)
                            if again:
                                print(f"mutate: {test['name']} failed once and passed again on "
                                      f"fault {mutant['number']}; not counted as a kill")
                                continue
                            result = "killed"
                            os.makedirs(os.path.join(build, "mutants"), exist_ok=True)
                            with open(os.path.join(build, "mutants", f"{mutant['number']}-{test['name']}.log"),
                                      "w", encoding="utf-8") as log:
                                log.write(output)
                            failed += [test["name"] + ":" + case for case in failed_cases(output)] or [test["name"]]
                            if not args.every_test:
                                break
                    killer = " ".join(failed)
            finally:
                journal.restore(path, original)
            mutant.update(result=result, killer=killer)
            report.append(mutant)
            print(f"[{mutant['number']:3}/{args.count}] {mutant['file']}:{mutant['line']}  "
                  f"{describe(mutant)}  {result}{' by ' + killer if killer else ''}", flush=True)
    except KeyboardInterrupt:
        interrupted = True
        print("mutate: interrupted; every file is back as it was")
    finally:
        # Leave the build tree matching the sources again, and the test display stopped.
        build_targets(build, needed, args.jobs)
        subprocess.run([os.path.join(ROOT, "tools", "wine-env.sh"), "--state", wine_state(build),
                        "down"])

    with open(os.path.join(build, "mutants.tsv"), "w", encoding="utf-8") as f:
        f.write("number\tfile\tline\tkind\tchange\tresult\tkilled by\n")
        for m in report:
            f.write(f"{m['number']}\t{m['file']}\t{m['line']}\t{m['kind']}\t{describe(m)}\t"
                    f"{m['result']}\t{m['killer']}\n")
    killed = sum(m["result"] == "killed" for m in report)
    survived = sum(m["result"] == "survived" for m in report)
    broken = sum(m["result"] == "did-not-compile" for m in report)
    compiled = killed + survived
    rate = 100.0 * killed / compiled if compiled else 0.0
    print(f"mutate: {killed} killed, {survived} survived, {broken} did not compile; "
          f"kill rate {rate:.1f}% of {compiled} that compiled")
    for m in report:
        if m["result"] == "survived":
            print(f"  survived: {m['number']} {m['file']}:{m['line']}  {describe(m)}")
    return 1 if interrupted else 0


if __name__ == "__main__":
    sys.exit(main())

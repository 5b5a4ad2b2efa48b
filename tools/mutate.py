#!/usr/bin/env python3
"""The mutation run: breaks the product one line at a time, the way a slip would, and
tells which of the suites notice.

    tools/mutate.py [--check] [--without FILTER] [--markdown] [NAME ...]

Each mutant of tests/mutants.txt names a file, a text that occurs there exactly once
and its replacement. For each mutant (or only the NAMEs given) the text is replaced,
the targets of the suites that concern it are built incrementally, and the suites run
fastest first (the native logic tables, then the platform and the window tests under
one Wine session per build, shared by the whole run) until one fails. The file is restored
whatever happens. Prints killed / survived / does not build for each, then
"N of M killed"; exits 1 when a survivor has no explanation in the list. A mutant
marked equivalent changes nothing any program could tell apart: it is checked, not
run, and not counted.

--check only checks the list against the sources. To see what a group of tests is
worth before it is deleted: --tests runs only the suites and filters given (as in the
list) on each mutant, --without leaves a gtest filter out of every suite, and --every runs
each suite to its end and names every test that fails, for a table of who kills what.

--sweep SUITES FILE... looks for slips the list lacks: instead of the list, every line of
the files is changed as a slip would change it, one operator, constant or statement at a
time, and run against SUITES (as in the list). Its survivors are for a reader to judge:
many change nothing a program could tell."""
import argparse
import dataclasses
import fnmatch
import os
import platform
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIST = os.path.join(ROOT, "tests", "mutants.txt")
NATIVE = os.path.join(ROOT, "build", "native")
WINDOWS = os.path.join(ROOT, "build", "windows")
WINDOWS_X86 = os.path.join(ROOT, "build", "windows-x86")
SUITE_TIMEOUT = 300

# Suite: (preset, build folder, target, program inside the build folder, runs under Wine).
# The x86 build links differently (no high-entropy ASLR that implies the rest), so its
# image tests see flags the x64 image cannot show.
SUITES = {
    "logic": ("native", NATIVE, "vantrel_logic_tests", "tests/vantrel_logic_tests", False),
    "platform": ("windows", WINDOWS, "vantrel_windows_tests",
                 "tests/windows/vantrel_windows_tests.exe", True),
    "window": ("windows", WINDOWS, "vantrel_window_tests",
               "tests/e2e/vantrel_window_tests.exe", True),
    "platform-x86": ("windows-x86", WINDOWS_X86, "vantrel_windows_tests",
                     "tests/windows/vantrel_windows_tests.exe", True),
}
FIELDS = ("file", "find", "replace", "lost", "suites")
OPTIONAL_FIELDS = ("survives", "equivalent")
PASSED = re.compile(r"^\[  PASSED  \] (\d+) tests?\.$", re.M)
FAILED = re.compile(r"^\[  FAILED  \] ([\w/]+\.[\w/.]+)", re.M)


@dataclasses.dataclass
class Mutant:
    name: str
    line: int
    fields: dict

    def suites(self, override=None):
        """(suite, gtest filter or None), fastest first."""
        found = []
        for word in (override or self.fields["suites"]).split():
            suite, _, gtest_filter = word.partition("=")
            if suite not in SUITES:
                raise ValueError(f"{LIST}:{self.line}: {self.name}: unknown suite {suite}")
            found.append((suite, gtest_filter or None))
        return sorted(found, key=lambda s: list(SUITES).index(s[0]))


# A slip in one line, for --sweep: what it matches and what it makes of it.
SLIPS = [(r"==", "!="), (r"!=", "=="), (r"<=", "<"), (r">=", ">"), (r"(?<= )<(?= )", "<="),
         (r"(?<= )>(?= )", ">="), (r"&&", "||"), (r"\|\|", "&&"), (r"\+\+", "--"),
         (r"\+ 1\b", "- 1"), (r"- 1\b", "+ 1"), (r"\btrue\b", "false"),
         (r"\bfalse\b", "true"), (r"!(?=[\w(])", ""), (r"\b0\b", "1")]
# A statement a slip could leave out: a one-line if or while, or a plain call.
DROPPABLE = re.compile(r"^\s*((if|while) \(.*;|[\w:.>-]+\(.*\);)$")


def sweep(files, suites):
    """A mutant for each slip of each line of code that occurs once in its file."""
    mutants = []
    for file in files:
        with open(os.path.join(ROOT, file), encoding="utf-8", newline="\n") as f:
            text = f.read()
        for number, line in enumerate(text.split("\n"), 1):
            code = line.split("//")[0]
            if (not code.strip() or code.lstrip().startswith(("#", "namespace", "}"))
                    or text.count(code.strip()) != 1):
                continue
            changed = [code[:m.start()] + new + code[m.end():]
                       for pattern, new in SLIPS for m in re.finditer(pattern, code)
                       if code[:m.start()].count('"') % 2 == 0]
            if DROPPABLE.match(code):
                changed.append("")
            for k, new in enumerate(changed):
                fields = {"file": file, "find": code.strip(), "replace": new.strip(),
                          "lost": "(a sweep's slip)", "suites": suites}
                name = f"{os.path.splitext(os.path.basename(file))[0]}-{number}-{k}"
                mutants.append(Mutant(name, number, fields))
    return mutants


def texts_in(mutant, content):
    """The find and replace texts with the line ends of the file they go into."""
    end = "\r\n" if "\r\n" in content else "\n"
    return (mutant.fields["find"].replace("\n", end), mutant.fields["replace"].replace("\n", end))


def read_list(path=LIST):
    """Blocks of "[name] file" then "field: value" lines; a line "  | text" goes on with
    the field before it on a new line, so a text may span lines."""
    mutants, current, field = [], None, None
    with open(path, encoding="utf-8", newline="\n") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                field = None
                continue
            header = re.match(r"^\[([\w-]+)\] (\S+)$", line)
            if header:
                current = Mutant(header[1], number, {"file": header[2]})
                mutants.append(current)
                field = None
            elif re.match(r"^\s+\|", line) and current and field:
                current.fields[field] += "\n" + line.split("|", 1)[1]
            elif current and re.match(r"^[a-z]+:( |$)", line):
                field, _, value = line.partition(":")
                current.fields[field] = value[1:]
            else:
                raise ValueError(f"{path}:{number}: cannot read {line!r}")
    for mutant in mutants:
        missing = [f for f in FIELDS if f not in mutant.fields]
        if missing:
            raise ValueError(f"{path}:{mutant.line}: {mutant.name} lacks {', '.join(missing)}")
        unknown = set(mutant.fields) - set(FIELDS) - set(OPTIONAL_FIELDS)
        if unknown:
            raise ValueError(f"{path}:{mutant.line}: {mutant.name}: unknown {', '.join(unknown)}")
    return mutants


def check_list(mutants):
    """Findings: names given twice, texts that do not occur exactly once, dirty files."""
    findings, seen = [], set()
    for m in mutants:
        if m.name in seen:
            findings.append(f"{m.name}: named twice")
        seen.add(m.name)
        path = os.path.join(ROOT, m.fields["file"])
        try:
            with open(path, encoding="utf-8", newline="") as f:
                text = f.read()
        except OSError as e:
            findings.append(f"{m.name}: {e}")
            continue
        count = text.count(texts_in(m, text)[0])
        if count != 1:
            findings.append(f"{m.name}: the text occurs {count} times in {m.fields['file']}")
        if m.fields["find"] == m.fields["replace"]:
            findings.append(f"{m.name}: the replacement changes nothing")
        try:
            m.suites()
        except ValueError as e:
            findings.append(str(e))
    return findings


def dirty(files):
    result = subprocess.run(["git", "status", "--porcelain", "--", *sorted(set(files))],
                            cwd=ROOT, capture_output=True, text=True, check=True)
    return result.stdout.strip()


def run(command, env=None, timeout=SUITE_TIMEOUT):
    """Exit code and output; a run that hangs is stopped with its children, and counts
    as a failure."""
    with subprocess.Popen(command, cwd=ROOT, env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, start_new_session=True) as process:
        try:
            output, _ = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            output, _ = process.communicate()
            return 124, output.decode("utf-8", "replace") + "\n(timed out)"
        except BaseException:
            os.killpg(process.pid, signal.SIGKILL)
            raise
    return process.returncode, output.decode("utf-8", "replace")


class Runner:
    def __init__(self, without, tests=None, every=False):
        self.without = without
        self.tests = tests
        self.every = every
        self.configured = set()
        self.built = set()
        self.sessions = set()
        self.x86_skipped = None
        self.env = dict(os.environ, LC_ALL="C.UTF-8")

    def environment(self, suite):
        """The tests read the Vantrel.exe of their own build."""
        exe = os.path.join(SUITES[suite][1], "app", "Vantrel.exe")
        return dict(self.env, VANTREL_EXE="Z:" + exe)

    def build(self, suite):
        preset, folder, target, _, _ = SUITES[suite]
        if preset not in self.configured:
            code, output = run(["cmake", "--preset", preset])
            if code:
                raise RuntimeError(f"cmake --preset {preset} failed:\n{output}")
            self.configured.add(preset)
        self.built.add(suite)
        return run(["cmake", "--build", folder, "--target", target])[0] == 0

    def rebuild(self):
        """The targets built for mutants, again from the restored checkout: the build
        folders hold the last mutant's programs until then."""
        for suite in self.built:
            self.build(suite)

    def start_wine(self, session):
        if session not in self.sessions:
            code, output = run(["bash", "tools/wine-session.sh", "start", session])
            if code:
                raise RuntimeError(f"the Wine session did not start:\n{output}")
            self.sessions.add(session)

    def stop_wine(self):
        for session in self.sessions:
            run(["bash", "tools/wine-session.sh", "stop", session])
        self.sessions.clear()

    def skipped(self, suite):
        """Why the suite cannot run here, or None."""
        if SUITES[suite][0] != "windows-x86":
            return None
        if self.x86_skipped is None:
            code, output = run(["bash", "tools/wine32-check.sh"])
            self.x86_skipped = output.strip() if code else ""
        return self.x86_skipped or None

    def command(self, suite):
        _, folder, _, program, wine = SUITES[suite]
        command = [os.path.join(folder, program)]
        if wine:
            session = os.path.join(folder, "wine")
            self.start_wine(session)
            command = ["bash", "tools/wine-run.sh", session, *command]
        return command

    def names(self, suite):
        """Every test of the suite as a filter sees it: "Prefix/Suite.Name/Case"."""
        code, output = run(self.command(suite) + ["--gtest_list_tests"],
                           env=self.environment(suite))
        names, group = [], ""
        for line in output.replace("\r", "").splitlines():
            if code or not line.strip():
                continue
            if not line.startswith(" "):
                group = line.split("#")[0].strip()
            else:
                names.append(group + line.split("#")[0].strip())
        return names

    def test(self, suite, gtest_filter):
        """(passed, the failing tests); a filter that matches nothing is said, and kills nothing."""
        command = self.command(suite)
        positive = gtest_filter or "*"
        if self.without:
            positive += ("-" if "-" not in positive else ":") + self.without
        code, output = run(command + [f"--gtest_filter={positive}"], env=self.environment(suite))
        output = output.replace("\r", "")
        passed = PASSED.search(output)
        # Without GoogleTest's summary the program ended early, whatever its exit code.
        if code == 0 and passed:
            if int(passed[1]) == 0:
                print(f"  {suite}: no test matches {positive}", flush=True)
            return True, []
        return False, sorted(set(FAILED.findall(output))) or [f"ended early, exit code {code}"]


def baseline(runner, mutants):
    """Each suite on the unchanged checkout, over every filter the mutants give it: a
    suite that fails already would count every mutant as killed."""
    filters = {}
    for mutant in mutants:
        for suite, gtest_filter in mutant.suites(runner.tests):
            filters.setdefault(suite, set()).add(gtest_filter or "*")
    for suite in sorted(filters, key=list(SUITES).index):
        if runner.skipped(suite):
            print(f"baseline: {suite}: not run: {runner.skipped(suite)}", flush=True)
            continue
        if not runner.build(suite):
            raise RuntimeError(f"{suite} does not build on the unchanged checkout")
        patterns = sorted({p for f in filters[suite] for p in f.split(":")})
        names = runner.names(suite)
        for pattern in patterns:
            if not any(fnmatch.fnmatchcase(name, pattern) for name in names):
                print(f"baseline: {suite}: {pattern} matches no test", flush=True)
        positive = ":".join(patterns)
        passed, failures = runner.test(suite, positive)
        if not passed:
            raise RuntimeError(f"{suite} fails on the unchanged checkout: {' '.join(failures)}")
        print(f"baseline: {suite} passes", flush=True)


def try_mutant(runner, mutant):
    """(outcome, detail) for one mutant; the file is as it was afterwards."""
    path = os.path.join(ROOT, mutant.fields["file"])
    with open(path, "rb") as f:
        original = f.read()
    text = original.decode("utf-8")
    try:
        with open(path, "wb") as f:
            f.write(text.replace(*texts_in(mutant, text), 1).encode("utf-8"))
        built, killers = set(), []
        for suite, gtest_filter in mutant.suites(runner.tests):
            if runner.skipped(suite):
                print(f"  {suite}: not run: {runner.skipped(suite)}", flush=True)
                continue
            if suite not in built:
                if not runner.build(suite):
                    return "does not build", suite
                built.add(suite)
            passed, failures = runner.test(suite, gtest_filter)
            if not passed:
                killers.append(f"{suite}: {' '.join(failures if runner.every else failures[:4])}")
                if not runner.every:
                    break
        return ("killed", "; ".join(killers)) if killers else ("survived", "")
    finally:
        with open(path, "wb") as f:
            f.write(original)


def stopped(*_):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("names", nargs="*", help="run only these mutants")
    parser.add_argument("--check", action="store_true", help="only check the list")
    parser.add_argument("--without", help="gtest filter of tests to leave out of every suite")
    parser.add_argument("--tests", help="run these suites (as in the list) instead of the list's,"
                        " to see which mutants a group of tests kills on its own")
    parser.add_argument("--every", action="store_true",
                        help="run every suite to its end and name every test that fails")
    parser.add_argument("--markdown", action="store_true", help="print a table for docs/testing.md")
    parser.add_argument("--sweep", metavar="SUITES",
                        help="change every line of the files NAMEd instead, run against SUITES")
    args = parser.parse_args()

    # With --sweep the names given are files, every line of which makes mutants.
    names = [] if args.sweep else args.names
    mutants = sweep(args.names, args.sweep) if args.sweep else read_list()
    findings = check_list(mutants)
    unknown = set(names) - {m.name for m in mutants}
    findings += [f"{name}: no such mutant" for name in sorted(unknown)]
    if names:
        mutants = [m for m in mutants if m.name in names]
    equivalent = [m for m in mutants if "equivalent" in m.fields]
    mutants = [m for m in mutants if "equivalent" not in m.fields]
    if not args.check:
        state = dirty(m.fields["file"] for m in mutants)
        if state:
            findings.append(f"uncommitted changes where mutants go:\n{state}")
    for finding in findings:
        print(finding, file=sys.stderr)
    if findings or args.check:
        print(f"mutants: {len(mutants) + len(equivalent)} checked, {len(findings)} findings")
        return 1 if findings else 0

    # A stop from outside unwinds like Ctrl-C, so the file in hand is restored.
    signal.signal(signal.SIGTERM, stopped)
    runner = Runner(args.without, args.tests, args.every)
    start, rows, unexplained = time.monotonic(), [], 0
    load = os.getloadavg()[0]
    try:
        baseline(runner, mutants)
        for mutant in mutants:
            began = time.monotonic()
            outcome, detail = try_mutant(runner, mutant)
            seconds = time.monotonic() - began
            note = mutant.fields.get("survives", "")
            if outcome == "survived" and not note:
                unexplained += 1
                note = "UNEXPLAINED"
            elif note:
                note = f"explained: {note}"
            rows.append((mutant, outcome, detail, seconds))
            shown = detail or note
            print(f"{mutant.name}: {outcome} ({seconds:.0f} s) {shown}", flush=True)
    finally:
        runner.stop_wine()
        runner.rebuild()
    killed = sum(1 for _, outcome, _, _ in rows if outcome == "killed")
    minutes = (time.monotonic() - start) / 60
    when = time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())
    machine = f"{platform.node()}, {os.cpu_count()} cores, load {load:.1f} at the start"
    share = f" ({100 * killed // len(rows)} %)" if rows else ""
    print(f"{killed} of {len(rows)} killed{share} in {minutes:.0f} min, {when}, {machine}"
          f"; {len(equivalent)} equivalent, not run")
    if args.markdown:
        print("\n| Mutant | Outcome | Killed by, or why it survives |\n|---|---|---|")
        for mutant, outcome, detail, _ in rows:
            print(f"| {mutant.name} | {outcome} | {detail or mutant.fields.get('survives', '')} |")
        for mutant in equivalent:
            print(f"| {mutant.name} | equivalent | {mutant.fields['equivalent']} |")
    return 1 if unexplained and not args.sweep else 0


if __name__ == "__main__":
    sys.exit(main())

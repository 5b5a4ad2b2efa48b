"""The workflow policy check passes a workflow that keeps the rules and names each
rule that a changed copy breaks."""
import pathlib
import sys
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools" / "workflows"))
import policy  # noqa: E402

SHA = "3d3c42e5aac5ba805825da76410c181273ba90b1"
GOOD = f"""name: CI
on:
  push:
  pull_request:
permissions:
  contents: read
concurrency:
  group: ci
  cancel-in-progress: true
jobs:
  linux:
    runs-on: ubuntu-latest
    timeout-minutes: 60
    steps:
      - uses: actions/checkout@{SHA}  # v7.0.1
        with:
          persist-credentials: false
      - run: bash tools/test.sh
  windows-bundle:
    runs-on: windows-2022
    timeout-minutes: 30
    steps:
      - run: run-tests.cmd /y
        shell: cmd
"""
README = """## Quick start for developers

    bash tools/test.sh    # builds and runs every test

## Layout
"""
WINDOWS_PAGE = """# Testing on Windows

    run-tests.cmd /y
"""


class WorkflowPolicy(unittest.TestCase):
    def test_a_workflow_that_keeps_the_rules_passes(self):
        self.assertEqual(policy.check_workflow("ci.yml", GOOD), [])
        self.assertEqual(policy.check_documented_commands(GOOD, README, WINDOWS_PAGE), [])

    def test_each_broken_rule_is_named(self):
        cases = [
            ("unpinned action", (f"@{SHA}  # v7.0.1", "@v7"), "not pinned by a full commit SHA"),
            ("short SHA", (f"@{SHA}", f"@{SHA[:12]}"), "not pinned by a full commit SHA"),
            ("pin without its version", ("  # v7.0.1", ""), "no version comment"),
            ("write permission at the top", ("contents: read", "contents: write"),
             "top-level permissions"),
            ("no permissions at the top", ("permissions:\n  contents: read\n", ""),
             "top-level permissions"),
            ("job without a timeout", ("    timeout-minutes: 30\n", ""),
             "job windows-bundle has no timeout-minutes"),
            ("two jobs that write",
             ("jobs:\n", "jobs:\n" + "".join(
                 f"  {job}:\n    runs-on: ubuntu-latest\n    timeout-minutes: 5\n"
                 f"    permissions:\n      contents: write\n    steps: []\n" for job in ("publish", "bucket"))),
             "jobs publish, bucket all ask for write access"),
            ("no concurrency", ("concurrency:\n  group: ci\n  cancel-in-progress: true\n", ""),
             "no concurrency group"),
            ("checkout keeps its token", ("persist-credentials: false", "persist-credentials: true"),
             "keeps its credentials"),
            ("pull request text in a script",
             ("- run: bash tools/test.sh", "- run: echo ${{ github.event.pull_request.title }}"),
             "expands untrusted text"),
            ("a secret where pull requests run",
             ("- run: bash tools/test.sh", "- run: bash tools/test.sh\n        env:\n"
              "          KEY: ${{ secrets.KEY }}"), "reads secrets"),
        ]
        for name, (old, new), expected in cases:
            with self.subTest(name):
                self.assertIn(old, GOOD)
                findings = policy.check_workflow("ci.yml", GOOD.replace(old, new, 1))
                self.assertTrue(any(expected in f for f in findings), findings)

    def test_the_jobs_run_what_the_documentation_says(self):
        cases = [
            ("Linux job runs another command", GOOD.replace("bash tools/test.sh", "make test"),
             README, WINDOWS_PAGE, "job linux does not run README.md's `bash tools/test.sh`"),
            ("Windows job drops /y", GOOD.replace("run-tests.cmd /y", "run-tests.cmd"), README,
             WINDOWS_PAGE,
             "job windows-bundle does not run docs/testing-on-windows.md's `run-tests.cmd /y`"),
            ("README loses its test command", GOOD, README.replace("    bash tools/test.sh", ""),
             WINDOWS_PAGE, "README.md: no command for the linux job"),
            ("page loses its Windows command", GOOD, README,
             WINDOWS_PAGE.replace("    run-tests.cmd /y", ""),
             "docs/testing-on-windows.md: no command for the windows-bundle job"),
        ]
        for name, ci, readme, windows_page, expected in cases:
            with self.subTest(name):
                findings = policy.check_documented_commands(ci, readme, windows_page)
                self.assertIn(expected, "\n".join(findings))


if __name__ == "__main__":
    unittest.main()

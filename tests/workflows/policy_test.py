"""The workflow policy check passes the project's own CI workflow and documentation, and
names each rule that a changed copy of them breaks."""
import pathlib
import re
import sys
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools" / "workflows"))
import policy  # noqa: E402

CI = (ROOT / ".github" / "workflows" / "ci.yml").read_text(encoding="utf-8")
README = (ROOT / "README.md").read_text(encoding="utf-8")
WINDOWS_PAGE = (ROOT / "docs" / "testing-on-windows.md").read_text(encoding="utf-8")
SHA, VERSION = re.search(r"(@[0-9a-f]{40})(\s+#\s*v\S+)", CI).groups()
TEST = "run: bash tools/test.sh"
WRITERS = "".join(f"  {job}:\n    runs-on: ubuntu-latest\n    timeout-minutes: 5\n    permissions:\n"
                  f"      contents: write\n    steps: []\n" for job in ("publish", "bucket"))
RULES = [  # name, (text of ci.yml, its change), what the check says
    ("unpinned action", (SHA + VERSION, "@v7"), "not pinned by a full commit SHA"),
    ("short SHA", (SHA, SHA[:13]), "not pinned by a full commit SHA"),
    ("pin without its version", (SHA + VERSION, SHA), "no version comment"),
    ("write permission at the top", ("\npermissions:\n  contents: read", "\npermissions:\n  contents: write"),
     "top-level permissions"),
    ("no permissions at the top", ("\npermissions:\n  contents: read\n", "\n"), "top-level permissions"),
    ("job without a timeout", ("    timeout-minutes:", "    x-timeout-minutes:"), "job linux has no timeout-minutes"),
    ("two jobs that write", ("\njobs:\n", "\njobs:\n" + WRITERS), "jobs publish, bucket all ask for write access"),
    ("no concurrency", ("\nconcurrency:", "\nx-concurrency:"), "no concurrency group"),
    ("checkout keeps its token", ("persist-credentials: false", "persist-credentials: true"), "keeps its credentials"),
    ("pull request text in a script", (TEST, "run: echo ${{ github.event.pull_request.title }}"),
     "expands untrusted text"),
    ("a secret where pull requests run", (TEST, TEST + "\n        env:\n          KEY: ${{ secrets.KEY }}"),
     "reads secrets"),
]
COMMANDS = [  # name, the changed ci.yml, README.md and Windows page, what the check says
    ("Windows job drops /y", (CI.replace("run-tests.cmd /y", "run-tests.cmd"), README, WINDOWS_PAGE),
     "job windows-bundle does not run docs/testing-on-windows.md's `run-tests.cmd /y`"),
    ("README loses its test command", (CI, README.replace("    bash tools/test.sh", ""), WINDOWS_PAGE),
     "README.md: no command for the linux job"),
]


class WorkflowPolicy(unittest.TestCase):
    def test_policy(self):
        self.assertEqual(policy.check_workflow("ci.yml", CI), [])
        self.assertEqual(policy.check_documented_commands(CI, README, WINDOWS_PAGE), [])
        for name, (old, new), expected in RULES:
            with self.subTest(name):
                self.assertIn(old, CI)
                findings = policy.check_workflow("ci.yml", CI.replace(old, new, 1))
                self.assertIn(expected, "\n".join(findings))
        for name, texts, expected in COMMANDS:
            with self.subTest(name):
                self.assertIn(expected, "\n".join(policy.check_documented_commands(*texts)))


if __name__ == "__main__":
    result = unittest.main(exit=False).result
    # A filtered or broken run must not pass quietly.
    sys.exit(0 if result.wasSuccessful() and result.testsRun == 1 else 1)

"""Checks the GitHub workflows against the project's rules, which actionlint does not
know: policy.py WORKFLOW_DIR README WINDOWS_TESTING_PAGE

- every workflow sets `permissions` at the top, to read the contents only, and a
  `concurrency` group;
- every job has `timeout-minutes`, and at most one job of a workflow may write;
- every action of another repository is pinned by a full commit SHA, with its
  version in a comment;
- every checkout leaves no credentials behind (`persist-credentials: false`);
- no `run:` script expands text that whoever opens a pull request controls;
- no workflow that pull requests start reads a secret;
- the Linux job runs the test command of the README's quick start, and the Windows
  job the command line that the page on testing on Windows gives.
Prints each finding and exits 1 when there is any."""
import pathlib
import re
import sys

import yaml

PINNED = re.compile(r"^[\w.-]+/[\w./-]+@[0-9a-f]{40}$")
VERSION_COMMENT = re.compile(r"#\s*v\d")
# Contexts whose text comes from whoever pushes a branch or opens a pull request.
UNTRUSTED = re.compile(r"\$\{\{[^}]*\b(github\.event\.|github\.head_ref|inputs\.)")


def triggers(workflow):
    # YAML 1.1 reads the key "on" as true.
    on = workflow.get("on", workflow.get(True, {}))
    if isinstance(on, str):
        return {on}
    return set(on)


def steps(workflow):
    for job_id, job in workflow.get("jobs", {}).items():
        for step in job.get("steps", []):
            yield job_id, step


def check_workflow(name, text):
    """The findings for one workflow file, given its text."""
    findings = []
    workflow = yaml.safe_load(text)
    if workflow.get("permissions") != {"contents": "read"}:
        findings.append(f"{name}: top-level permissions must be exactly contents: read")
    if "concurrency" not in workflow:
        findings.append(f"{name}: no concurrency group")
    writers = []
    for job_id, job in workflow.get("jobs", {}).items():
        if "timeout-minutes" not in job:
            findings.append(f"{name}: job {job_id} has no timeout-minutes")
        if "write" in (job.get("permissions") or {}).values():
            writers.append(job_id)
    if len(writers) > 1:
        findings.append(f"{name}: jobs {', '.join(writers)} all ask for write access; one job may")
    for number, line in enumerate(text.splitlines(), 1):
        match = re.match(r"\s*(?:-\s+)?uses:\s*(\S+)(.*)", line)
        if not match or match[1].startswith(("./", "docker://")):
            continue
        if not PINNED.match(match[1]):
            findings.append(f"{name}:{number}: {match[1]} is not pinned by a full commit SHA")
        elif not VERSION_COMMENT.search(match[2]):
            findings.append(f"{name}:{number}: {match[1]} has no version comment")
    for job_id, step in steps(workflow):
        uses = step.get("uses", "")
        if uses.startswith("actions/checkout@"):
            if (step.get("with") or {}).get("persist-credentials") is not False:
                findings.append(f"{name}: a checkout in job {job_id} keeps its credentials")
        if UNTRUSTED.search(step.get("run", "")):
            findings.append(f"{name}: a run script in job {job_id} expands untrusted text")
    if triggers(workflow) & {"pull_request", "pull_request_target"} and "secrets." in text:
        findings.append(f"{name}: a workflow that pull requests start reads secrets")
    return findings


def documented_command(page, section, needle):
    """The first indented code line under the Markdown heading `section` that holds `needle`,
    without its trailing comment."""
    inside = False
    for line in page.splitlines():
        if line.startswith("#"):
            inside = line.lstrip("#").strip() == section
        elif inside and line.startswith("    ") and needle in line:
            return line.split("#")[0].strip()
    return None


def job_runs(workflow, job_id):
    job = workflow.get("jobs", {}).get(job_id, {})
    return [step["run"].strip() for step in job.get("steps", []) if "run" in step]


def check_documented_commands(ci_text, readme, windows_page):
    """The CI jobs run what the documentation tells people to run."""
    findings = []
    ci = yaml.safe_load(ci_text)
    expected = [
        ("linux", "README.md",
         documented_command(readme, "Quick start for developers", "test.sh")),
        ("windows-bundle", "docs/testing-on-windows.md",
         documented_command(windows_page, "Testing on Windows", "run-tests.cmd")),
    ]
    for job_id, source, command in expected:
        if command is None:
            findings.append(f"{source}: no command for the {job_id} job to run")
        elif command not in job_runs(ci, job_id):
            findings.append(f"ci.yml: job {job_id} does not run {source}'s `{command}`")
    return findings


def main(folder, readme_path, windows_page_path):
    findings = []
    files = sorted(pathlib.Path(folder).glob("*.yml"))
    for path in files:
        findings += check_workflow(path.name, path.read_text(encoding="utf-8"))
    ci = pathlib.Path(folder, "ci.yml")
    readme = pathlib.Path(readme_path).read_text(encoding="utf-8")
    windows_page = pathlib.Path(windows_page_path).read_text(encoding="utf-8")
    findings += check_documented_commands(ci.read_text(encoding="utf-8"), readme, windows_page)
    for finding in findings:
        print(finding)
    print(f"workflow policy: {len(files)} files, {len(findings)} findings")
    return 1 if findings or not files else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))

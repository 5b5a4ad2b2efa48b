"""Writes every bash `run:` script of the workflows to a file of its own, for
shellcheck: run_scripts.py WORKFLOW_DIR OUT_DIR. Each file starts as GitHub starts
the script (bash -e -o pipefail); an expression ${{ ... }} becomes a plain word.
Prints the files written."""
import pathlib
import re
import sys

import yaml

EXPRESSION = re.compile(r"\$\{\{.*?\}\}")


def shell_of(workflow, job, step):
    for scope in (step, job.get("defaults", {}).get("run", {}),
                  workflow.get("defaults", {}).get("run", {})):
        if "shell" in scope:
            return scope["shell"]
    return "bash"


def main(folder, out):
    out = pathlib.Path(out)
    out.mkdir(parents=True, exist_ok=True)
    for path in sorted(pathlib.Path(folder).glob("*.yml")):
        workflow = yaml.safe_load(path.read_text(encoding="utf-8"))
        for job_id, job in workflow.get("jobs", {}).items():
            for number, step in enumerate(job.get("steps", []), 1):
                if "run" not in step or shell_of(workflow, job, step) not in ("bash", "sh"):
                    continue
                script = out / f"{path.stem}.{job_id}.{number}.sh"
                body = EXPRESSION.sub("github_expression", step["run"])
                script.write_text("#!/usr/bin/env bash\nset -eo pipefail\n" + body,
                                  encoding="utf-8")
                print(script)


if __name__ == "__main__":
    main(*sys.argv[1:])

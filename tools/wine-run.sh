#!/usr/bin/env bash
# Runs a Windows program under the project's Wine session: wine-run.sh SESSION_DIR PROGRAM [ARGS...]
set -eu
. "$(dirname "$0")/wine-env.sh" "$1"
shift
exec wine "$@"

#!/usr/bin/env bash
# Runs a Windows program inside the test session that session.sh started.
#   run.sh DIR PROGRAM [ARGS...]
set -euo pipefail
dir=${1:?session folder}
shift
if [ ! -f "$dir/session.env" ]; then
  echo "No Wine session in $dir: run tests/wine/session.sh start $dir" >&2
  exit 2
fi
# shellcheck disable=SC1091
. "$dir/session.env"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"

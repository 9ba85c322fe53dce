#!/usr/bin/env bash
# Creates a fresh demo installation and runs the demo scenario on the program,
# with the demo's months as the demo wrote them.
set -euo pipefail
pcp=$1
script=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$pcp" --instalacao "$dir" --criar-demo
set -a
. "$dir/demo.env"
set +a
QT_QPA_PLATFORM=offscreen "$pcp" --instalacao "$dir" --roteiro "$script"

#!/usr/bin/env bash
# Creates a fresh demo installation and runs the demo scenario on the program.
set -euo pipefail
pcp=$1
script=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$pcp" --instalacao "$dir" --criar-demo
QT_QPA_PLATFORM=offscreen "$pcp" --instalacao "$dir" --roteiro "$script"

#!/usr/bin/env bash
# Creates a fresh demo installation and runs the demo scenario on the program.
set -euo pipefail
pcp=$1
script=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$pcp" --instalacao "$dir" --criar-demo
# the demo's last month is the one before today's
primeiro=$(date +%Y-%m-01)
export PCP_DEMO_MES=$(date -d "$primeiro -1 month" +%m%Y)
export PCP_DEMO_ANOMES=$(date -d "$primeiro -1 month" +%Y%m)
export PCP_DEMO_INICIO=$(date -d "$primeiro -1 month" +%d/%m/%Y)
export PCP_DEMO_FIM=$(date -d "$primeiro -1 day" +%d/%m/%Y)
QT_QPA_PLATFORM=offscreen "$pcp" --instalacao "$dir" --roteiro "$script"

#!/usr/bin/env bash
# Creates a fresh demo installation and runs the demo scenario on the program,
# with the demo's months as the demo wrote them.
#
#   roteiro_demo.sh PCP SCRIPT [CONNINFO_FILE]
#
# With CONNINFO_FILE (the test server's connection string, written by
# scripts/servidor-teste) the demo's tables go to that server, under a schema
# prefix of its own for each run.
set -euo pipefail
pcp=$1
script=$2
conninfo_arq=${3:-}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
servidor=()
if [ -n "$conninfo_arq" ]; then
  [ -s "$conninfo_arq" ] || {
    echo "roteiro_demo: $conninfo_arq não existe ou está vazio; o servidor de teste não iniciou" >&2
    exit 1
  }
  prefixo="d$(od -An -N6 -tx1 /dev/urandom | tr -d ' \n')"
  servidor=(--servidor "$(head -n 1 "$conninfo_arq")" --esquema-prefixo "$prefixo")
fi
"$pcp" --instalacao "$dir" --criar-demo "${servidor[@]}"
if [ ${#servidor[@]} -gt 0 ]; then
  # a second demo on the same schemas is refused and writes nothing
  if "$pcp" --instalacao "$dir/outra" --criar-demo "${servidor[@]}" 2>"$dir/recusa.txt"; then
    echo "roteiro_demo: uma segunda demonstracao foi gravada sobre os esquemas da primeira" >&2
    exit 1
  fi
  grep -q "já tem tabelas" "$dir/recusa.txt" || { cat "$dir/recusa.txt" >&2; exit 1; }
  [ ! -e "$dir/outra/servidor.conf" ] || { echo "roteiro_demo: a recusa gravou servidor.conf" >&2; exit 1; }
fi
set -a
. "$dir/demo.env"
set +a
QT_QPA_PLATFORM=offscreen "$pcp" --instalacao "$dir" --roteiro "$script"

#!/usr/bin/env bash
# Runs one QtTest program for CTest, which judges by this script's status alone. The program
# passes only when it ends with status 0 and its log ends with QtTest's totals line counting
# 0 failed: one that stops before its last test (an exit reached inside a test, a crash) has
# no totals line, however it ends.
set -uo pipefail
nome=$(basename "$1")
registro=$(mktemp) || exit 1
trap 'rm -f "$registro"' EXIT
"$@" 2>&1 | tee "$registro"
stato=${PIPESTATUS[0]}
totali=$(grep -a '^Totals: ' "$registro" | tail -n 1)
if [[ $stato -ne 0 ]]; then
  echo "esito-qtest: $nome ended with status $stato"
  exit 1
fi
if [[ -z $totali ]]; then
  echo "esito-qtest: $nome printed no QtTest totals line: it stopped before its tests ended"
  exit 1
fi
if [[ ! $totali =~ ^Totals:\ [0-9]+\ passed,\ 0\ failed, ]]; then
  echo "esito-qtest: $nome: $totali"
  exit 1
fi

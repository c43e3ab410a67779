#!/usr/bin/env bash
# scripts/confronta_bench.sh against small targets files and benchmark outputs:
# each case gives the targets, the output, the exit code and a pattern its table must hold.
set -uo pipefail
script=${1:?usage: ConfrontoBench.sh path/to/confronta_bench.sh}
cartella=$(mktemp -d)
trap 'rm -rf "$cartella"' EXIT
falliti=0

caso() {  # name, targets, output, expected exit code, expected pattern (extended regex)
  printf '%b' "$2" > "$cartella/obiettivi"
  local tabella codice
  tabella=$(printf '%b' "$3" | "$script" "$cartella/obiettivi" 2>&1)
  codice=$?
  if [ "$codice" -ne "$4" ] || ! grep -Eq -- "$5" <<<"$tabella"; then
    printf 'FAIL %s: exit %s (expected %s), table:\n%s\n' "$1" "$codice" "$4" "$tabella"
    falliti=$((falliti + 1))
  fi
}

caso "within target" 'a 10 ms\n' 'BENCH a 5 ms\n' 0 '^a +5\.000 ms +10 ms +0\.50$'
caso "exactly twice" 'a 10 ms\n' 'BENCH a 20 ms\n' 0 '^a .* 2\.00$'
caso "over twice" 'a 10 ms\n' 'BENCH a 20.5 ms\n' 1 '^a .* 2\.05  OVER 2x TARGET$'
caso "one of several over" 'a 10 ms\nb 1 ms\n' 'BENCH a 1 ms\nBENCH b 3 ms\n' 1 '^b .*OVER'
caso "no target" 'a 10 ms\n' 'BENCH a 1 ms\nBENCH nuovo 1 ms\n' 1 '^nuovo .*NO TARGET$'
caso "target not measured" 'a 10 ms\nb 10 ms\n' 'BENCH a 1 ms\n' 1 '^b .*NOT MEASURED$'
caso "unit differs" 'a 10 points\n' 'BENCH a 1 ms\n' 1 '^a .*UNIT DIFFERS$'
caso "comments, blanks, other lines" '# note\n\na 4 ms   # provisional\n' 'starting\nBENCH a 1 ms\ndone\n' 0 '^a .* 0\.25$'
caso "fractional target" 'a 0.5 ms\n' 'BENCH a 0.25 ms\n' 0 '0\.5 ms +0\.50$'
caso "malformed target" 'a ten ms\n' 'BENCH a 1 ms\n' 2 'expected'
caso "negative target" 'a -1 ms\n' 'BENCH a 1 ms\n' 2 'expected'
caso "nil target met" 'a 0 sync\n' 'BENCH a 0.000 sync\n' 0 '^a +0\.000 sync +0 sync +-$'
caso "nil target missed" 'a 0 sync\n' 'BENCH a 0.1 sync\n' 1 '^a .*  OVER TARGET$'

# Rows follow the programs' output, not the targets file.
printf 'b 1 ms\na 1 ms\n' > "$cartella/obiettivi"
righe=$(printf 'BENCH a 1 ms\nBENCH b 1 ms\n' | "$script" "$cartella/obiettivi" | awk 'NR > 1 { printf "%s ", $1 }')
if [ "$righe" != "a b " ]; then
  echo "FAIL rows in output order: $righe"
  falliti=$((falliti + 1))
fi

if [ "$falliti" -ne 0 ]; then
  echo "$falliti case(s) failed"
  exit 1
fi
echo "all cases passed"

#!/usr/bin/env bash
# scripts/confronta_bench.sh against small targets files and benchmark outputs:
# each case gives the targets, the output, the exit code and a pattern its table must hold.
# Then the project's own targets against the newest logged figures: those pass, and each of
# them doubled (a rate halved) fails, but for the targets marked "floor".
set -uo pipefail
script=${1:?usage: ConfrontoBench.sh path/to/confronta_bench.sh}
radice=$(cd "$(dirname "$script")/.." && pwd)
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
caso "exactly the target" 'a 10 ms\n' 'BENCH a 10 ms\n' 0 '^a .* 1\.00$'
caso "over the target" 'a 10 ms\n' 'BENCH a 10.5 ms\n' 1 '^a .* 1\.05  OVER TARGET$'
caso "rate at its target" 'r 99 tick/s\n' 'BENCH r 99 tick/s\n' 0 '^r .* 1\.00$'
caso "rate over its target" 'r 99 tick/s\n' 'BENCH r 250 tick/s\n' 0 '^r .* 2\.53$'
caso "rate under its target" 'r 99 tick/s\n' 'BENCH r 98.9 tick/s\n' 1 '^r .*  UNDER TARGET$'
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

# The newest logged median of each figure that has a target, as a program prints it, times $1.
registrate() {
  awk -v fattore="$1" '
    FNR == NR { sub(/#.*/, ""); if (NF == 3) obiettivo[$1] = 1; next }
    /^```/ { dentro = !dentro; next }
    dentro && NF == 6 && ($1 in obiettivo) && !($1 in visto) && $2 ~ /^-?[0-9.]+$/ {
      visto[$1] = 1
      printf "BENCH %s %.6f %s\n", $1, $2 * ($3 ~ /[/]s$/ ? 1 / fattore : fattore), $3
    }
  ' "$radice/benchmarks/obiettivi.txt" "$radice/benchmarks/LOG.md"
}
registrate 1 > "$cartella/registrate"
# Only the figures logged: a new one has no median yet.
awk 'FNR == NR { logged[$2] = 1; next } { r = $0; sub(/#.*/, "", r); split(r, c); if (c[1] in logged) print }' \
  "$cartella/registrate" "$radice/benchmarks/obiettivi.txt" > "$cartella/obiettivi_registrati"
numero=$(wc -l < "$cartella/registrate")
if [ "$numero" -lt 40 ]; then
  echo "FAIL only $numero figures found logged in benchmarks/LOG.md"
  falliti=$((falliti + 1))
fi
if ! tabella=$("$script" "$cartella/obiettivi_registrati" < "$cartella/registrate" 2>&1); then
  printf 'FAIL the newest logged figures do not meet their targets:\n%s\n' "$tabella"
  falliti=$((falliti + 1))
fi
# A target marked "floor" is set above the figure's run-to-run noise, not from one run: it
# need not fail when that run doubles.
piani=$(awk '/#[^#]*floor/ { print $1 }' "$cartella/obiettivi_registrati")
tabella=$(registrate 2 | awk -v piani="$piani" 'BEGIN { split(piani, p); for (i in p) piano[p[i]] = 1 } !($2 in piano)' |
  "$script" <(awk -v piani="$piani" 'BEGIN { split(piani, p); for (i in p) piano[p[i]] = 1 } !($1 in piano)' \
    "$cartella/obiettivi_registrati") 2>&1)
nulli=$(awk '{ sub(/#.*/, "") } NF == 3 && $2 + 0 == 0' "$cartella/obiettivi_registrati" | wc -l)
nulli=$((nulli + $(wc -w <<<"$piani")))
superati=$(grep -Ec '  (OVER|UNDER) TARGET$' <<<"$tabella")
if [ "$superati" -ne $((numero - nulli)) ]; then
  printf 'FAIL doubled, %s of %s figures fail their targets:\n%s\n' "$superati" $((numero - nulli)) \
    "$(grep -Ev '  (OVER|UNDER) TARGET$' <<<"$tabella")"
  falliti=$((falliti + 1))
fi

if [ "$falliti" -ne 0 ]; then
  echo "$falliti case(s) failed"
  exit 1
fi
echo "all cases passed"

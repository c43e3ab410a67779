#!/usr/bin/env bash
# Reads the benchmark programs' output on standard input ("BENCH <name> <median> <unit>" lines,
# anything else ignored) and prints one row per figure: median, target and median/target.
#   scripts/confronta_bench.sh benchmarks/obiettivi.txt < output
# Exits 1 when a figure is over its target (above 0 for a target of 0: a count that must stay
# nil), a rate (a unit ending in "/s", where more is better) under it, a figure has no target or
# a unit other than its target's, or when a figure with a target was not measured: a renamed
# figure must not slip by.
set -euo pipefail
obiettivi=${1:?usage: confronta_bench.sh TARGETS-FILE < OUTPUT}
[ -r "$obiettivi" ] || { echo "cannot read $obiettivi" >&2; exit 2; }

awk '
  FNR == NR {
    sub(/#.*/, "")
    if (NF == 0) next
    if (NF != 3 || $2 !~ /^[0-9]+([.][0-9]+)?$/) {
      printf "%s:%d: expected \"<figure> <target> <unit>\"\n", FILENAME, FNR > "/dev/stderr"
      errore = 1
      next
    }
    if (!($1 in obiettivo)) elenco[++k] = $1
    obiettivo[$1] = $2; unita_obiettivo[$1] = $3
    next
  }
  $1 == "BENCH" && NF >= 4 {
    if (!($2 in valore)) ordine[++n] = $2
    valore[$2] = $3; unita[$2] = $4
  }
  END {
    if (errore) exit 2
    printf "%-40s %18s %16s %7s\n", "figure", "median", "target", "ratio"
    for (i = 1; i <= n; ++i) {
      f = ordine[i]
      mediana = sprintf("%.3f %s", valore[f], unita[f])
      if (!(f in obiettivo)) {
        printf "%-40s %18s %16s %7s  NO TARGET\n", f, mediana, "-", "-"; esito = 1; continue
      }
      bersaglio = sprintf("%g %s", obiettivo[f], unita_obiettivo[f])
      if (unita[f] != unita_obiettivo[f]) {
        printf "%-40s %18s %16s %7s  UNIT DIFFERS\n", f, mediana, bersaglio, "-"; esito = 1; continue
      }
      if (obiettivo[f] + 0 == 0) {
        # No ratio to a nil target: the figure is nil or over it.
        nota = valore[f] + 0 > 0 ? "  OVER TARGET" : ""
        if (nota != "") esito = 1
        printf "%-40s %18s %16s %7s%s\n", f, mediana, bersaglio, "-", nota
        continue
      }
      rapporto = valore[f] / obiettivo[f]
      nota = ""
      if (unita[f] ~ /[/]s$/) {
        if (rapporto < 1) { nota = "  UNDER TARGET"; esito = 1 }
      } else if (rapporto > 1) {
        nota = "  OVER TARGET"; esito = 1
      }
      printf "%-40s %18s %16s %7.2f%s\n", f, mediana, bersaglio, rapporto, nota
    }
    for (i = 1; i <= k; ++i) {
      f = elenco[i]
      if (f in valore) continue
      printf "%-40s %18s %16s %7s  NOT MEASURED\n", f, "-", sprintf("%g %s", obiettivo[f], unita_obiettivo[f]), "-"
      esito = 1
    }
    exit esito
  }
' "$obiettivi" -

#!/usr/bin/env bash
# cmake/esito-qtest.sh, the rule every QtTest program runs under, on commands that end in
# each way: it passes only the one with QtTest's totals line counting 0 failed and status 0.
# The real cases are UscitaTest played as a child: a test reaching the program's exit, and
# one failing a check inside a modal window.
set -uo pipefail
regola=${1:?usage: EsitoQtTest.sh path/to/esito-qtest.sh path/to/UscitaTest}
prova=${2:?usage: EsitoQtTest.sh path/to/esito-qtest.sh path/to/UscitaTest}
falliti=0
totali='Totals: 3 passed, 0 failed, 0 skipped, 0 blacklisted, 5ms'

caso() {  # name, expected status (0 passed, 1 failed), expected pattern, command...
  local nome=$1 atteso=$2 motivo=$3 uscita codice
  shift 3
  uscita=$(bash "$regola" "$@" 2>&1)
  codice=$?
  if [ "$codice" -ne "$atteso" ] || ! grep -Eq -- "$motivo" <<<"$uscita"; then
    printf 'FAIL %s: status %s (expected %s), output:\n%s\n' "$nome" "$codice" "$atteso" "$uscita"
    falliti=$((falliti + 1))
  fi
}

caso "0 failed" 0 '^Totals' echo "$totali"
caso "no totals, status 0" 1 'no QtTest totals line' true
caso "a failure counted, status 0" 1 '1 failed' echo 'Totals: 2 passed, 1 failed, 0 skipped, 0 blacklisted, 5ms'
caso "0 failed, then status 1" 1 'status 1$' bash -c "echo '$totali'; exit 1"
caso "0 failed, then a crash" 1 'status 134$' bash -c "echo '$totali'; kill -ABRT \$\$"
caso "the program's exit inside a test" 1 'no QtTest totals line' env USCITA_FIGLIO=programma "$prova"
caso "the window's exit inside a test" 1 "exit was reached outside Attendi_Uscita" env USCITA_FIGLIO=diretta "$prova"
# A failed check inside a modal window's handler ends that test, counted, instead of
# leaving the window open until the time limit.
caso "a failed check inside a modal window" 1 'Totals: [0-9]+ passed, 1 failed' timeout 60 env USCITA_FIGLIO=controllo_modale "$prova"

if [ "$falliti" -ne 0 ]; then
  echo "$falliti case(s) failed"
  exit 1
fi
echo "all cases passed"

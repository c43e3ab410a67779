#!/usr/bin/env bash
# The shipped program reads no test point's switch: no WAVELORE_PROVA_ text may be in it.
# Its test build must hold them, or the search would pass for the wrong reason.
#   PuntiProvaFuoriProgramma.sh PROGRAM TEST_BUILD
set -uo pipefail
programma=${1:?usage: PuntiProvaFuoriProgramma.sh PROGRAM TEST_BUILD}
prova=${2:?usage: PuntiProvaFuoriProgramma.sh PROGRAM TEST_BUILD}

testi() { LC_ALL=C grep -a -o 'WAVELORE_PROVA_[A-Z_]*' "$1" | sort -u; }

if [ -z "$(testi "$prova")" ]; then
  echo "no WAVELORE_PROVA_ text in $prova: the search finds nothing where it must"
  exit 1
fi
trovati=$(testi "$programma")
if [ -n "$trovati" ]; then
  echo "$programma holds test switches:"
  echo "$trovati"
  exit 1
fi
echo "no WAVELORE_PROVA_ text in $programma"

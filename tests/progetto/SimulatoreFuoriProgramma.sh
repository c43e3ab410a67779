#!/usr/bin/env bash
# The shipped program holds no test code: no symbol of the quote-server simulator or of the
# history generator may reach it.
#   SimulatoreFuoriProgramma.sh NM PROGRAM
set -uo pipefail
nm=${1:?usage: SimulatoreFuoriProgramma.sh NM PROGRAM}
programma=${2:?usage: SimulatoreFuoriProgramma.sh NM PROGRAM}

simboli=$("$nm" -C "$programma") || { echo "$nm failed on $programma"; exit 1; }
# A program without symbols (stripped) would pass for the wrong reason.
if ! grep -q 'FormS1::' <<<"$simboli"; then
  echo "no FormS1 symbol in $programma: cannot tell what it holds"
  exit 1
fi
trovati=$(grep -E 'ServerQuotazioni|generatore::' <<<"$simboli")
if [ -n "$trovati" ]; then
  echo "$programma holds simulator or generator code:"
  head -n 20 <<<"$trovati"
  exit 1
fi
echo "no simulator or generator symbol in $programma"

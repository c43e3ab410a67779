#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
set -euo pipefail
pacchetti=(cmake g++ make qt6-base-dev libqt6sql6-sqlite libqt6sql6-odbc tdsodbc libsqliteodbc
           unixodbc unixodbc-dev python3 python3-pandas qt6-translations-l10n
           fonts-liberation2  # Arial metrics: the forms' widths were laid out for them
           fonts-dejavu-core  # the text test's run on a machine without them
           clang libclang-rt-dev)  # clang and libFuzzer: the fuzz targets (scripts/fuzz.sh)
mancanti=()
for p in "${pacchetti[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || mancanti+=("$p")
done
if [ ${#mancanti[@]} -gt 0 ]; then
  echo "Installing: ${mancanti[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${mancanti[@]}"
fi

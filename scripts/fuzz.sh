#!/usr/bin/env bash
# The fuzz targets (fuzz/, libFuzzer with clang, ASan and UBSan), built in build/fuzz.
#   scripts/fuzz.sh [SECONDS] [TARGET...]  runs each target (all by default) for SECONDS
#                                          (default 600) from a working copy of its corpus;
#                                          findings go to build/fuzz/trovati/
#   scripts/fuzz.sh --costruisci           configures and builds only
#   scripts/fuzz.sh --breve TARGET [RUNS]  the committed corpus and RUNS (default 2000)
#                                          mutations, nothing kept: what CTest runs
# Exits 77 when clang or libFuzzer is missing, so that CTest reports the test as skipped.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
build=${WAVELORE_FUZZ_BUILD:-$radice/build/fuzz}
lavori=${WAVELORE_FUZZ_JOBS:-2}
cxx=${WAVELORE_FUZZ_CXX:-clang++}

costruisci() {
  if ! command -v "$cxx" >/dev/null; then
    echo "$cxx not found: fuzz targets not built" >&2
    exit 77
  fi
  local prova
  prova=$(mktemp -d)
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' > "$prova/p.cpp"
  if ! "$cxx" -fsanitize=fuzzer "$prova/p.cpp" -o "$prova/p" 2>/dev/null; then
    rm -rf "$prova"
    echo "$cxx has no libFuzzer: fuzz targets not built" >&2
    exit 77
  fi
  rm -rf "$prova"
  local lanciatore=()
  command -v ccache >/dev/null && lanciatore=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  CXX=$cxx cmake -S "$radice/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${lanciatore[@]}" >/dev/null
  cmake --build "$build" -j"$lavori" >/dev/null
}

opzioni_di() {  # the whole 5-minute history file is about 45 KB
  case "$1" in
    fuzz_file_storico) echo "-max_len=65536" ;;
    *) echo "-max_len=4096" ;;
  esac
}

export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
export QT_QPA_PLATFORM=offscreen

case "${1:-}" in
  --costruisci)
    costruisci
    ;;
  --breve)
    obiettivo=${2:?usage: fuzz.sh --breve TARGET [RUNS]}
    [ -x "$build/$obiettivo" ] || costruisci
    mkdir -p "$build/trovati"
    # New inputs go to the first folder given: a scratch one, so the committed corpus stays as it is.
    nuovi=$(mktemp -d)
    trap 'rm -rf "$nuovi"' EXIT
    # libFuzzer's own failure code is 77, which CTest would take for a skip.
    # shellcheck disable=SC2046
    "$build/$obiettivo" $(opzioni_di "$obiettivo") -runs="${3:-2000}" -seed=1 -error_exitcode=1 \
      -artifact_prefix="$build/trovati/" "$nuovi" "$radice/fuzz/corpus/$obiettivo" 2>&1 | tail -n 40
    ;;
  *)
    secondi=${1:-600}
    shift || true
    costruisci
    obiettivi=("$@")
    [ ${#obiettivi[@]} -gt 0 ] || obiettivi=($(cd "$radice/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//'))
    esito=0
    for o in "${obiettivi[@]}"; do
      lavoro="$build/corpus/$o"
      trovati="$build/trovati/$o"
      mkdir -p "$lavoro" "$trovati"
      echo "== $o, $secondi s"
      # shellcheck disable=SC2046
      "$build/$o" $(opzioni_di "$o") -max_total_time="$secondi" -error_exitcode=1 -artifact_prefix="$trovati/" \
        "$lavoro" "$radice/fuzz/corpus/$o" || { echo "$o: finding kept in $trovati" >&2; esito=1; }
    done
    exit "$esito"
    ;;
esac

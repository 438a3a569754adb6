#!/usr/bin/env bash
# Builds a fuzz target with clang's libFuzzer, AddressSanitizer and UBSan, and
# runs it a fixed number of times over its seed corpus beside this script.
#   tests/fuzz/run_fuzz.sh [TARGET [OUT_DIR [QT_INCLUDE_DIRS QT_CORE_LIBRARY]]]
# TARGET is number_text (the default: the number parse and display), csv (the CSV reader),
# design (the design file loader, with the calculation layer it checks names against), network
# (the network readers, CSV and .inp, and the solver behind them) or drawing (the drawing import,
# linked with the system's GDAL).
# OUT_DIR defaults to build/fuzz; the Qt paths (include dirs joined by ':') come
# from CMake when ctest runs it, else from pkg-config. FUZZ_RUNS and FUZZ_SEED
# change the run; further libFuzzer options can follow in FUZZ_OPTIONS.
# Exits 77 (skipped) where clang++ or its fuzzer runtime is not installed.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
target="${1:-number_text}"
default_runs=200000
shift || true
case "$target" in
    number_text) modules=(numbers/number_text); corpus="$here/corpus" ;;
    csv) modules=(numbers/number_text io/csv); corpus="$here/corpus_csv" ;;
    design | network | drawing)
        modules=(numbers/number_text)
        for f in "$source_dir"/formulas/*.cpp "$source_dir"/calculations/*.cpp "$source_dir"/calculations/network/*.cpp \
            "$source_dir"/io/*.cpp; do
            # Only the drawing target links GDAL.
            [[ "$target" != drawing && "$f" == */io/drawing_* ]] && continue
            modules+=("${f#"$source_dir"/}")
            modules[-1]="${modules[-1]%.cpp}"
        done
        corpus="$here/corpus_$target"
        # Each input parses JSON or solves a network: fewer runs keep the test as short as the others.
        default_runs=40000
        [ "$target" = network ] && default_runs=10000
        # Each input is a file that GDAL opens.
        [ "$target" = drawing ] && default_runs=3000 ;;
    *) echo "run_fuzz.sh: unknown target $target (number_text, csv, design, network or drawing)" >&2; exit 2 ;;
esac
out_dir="${1:-$source_dir/build/fuzz}"

clang=""
for candidate in clang++ $(compgen -c clang++- | sort -t- -k2 -rn | uniq); do
    if command -v "$candidate" >/dev/null 2>&1; then
        clang="$candidate"
        break
    fi
done
if [ -z "$clang" ]; then
    echo "SKIP: clang++ is not installed"
    exit 77
fi
resource_dir="$("$clang" -print-resource-dir)"
if [ -z "$(find "$resource_dir/lib" -name 'libclang_rt.fuzzer*.a' -print -quit 2>/dev/null)" ]; then
    echo "SKIP: $clang has no libFuzzer runtime (libclang_rt.fuzzer) under $resource_dir"
    exit 77
fi

qt_flags=()
if [ $# -ge 3 ]; then
    IFS=':' read -r -a include_dirs <<<"$2"
    for dir in "${include_dirs[@]}"; do
        qt_flags+=("-isystem" "$dir")
    done
    qt_flags+=("$3")
else
    read -r -a qt_flags <<<"$(pkg-config --cflags --libs Qt6Core)"
fi

extra_flags=()
if [ "$target" = drawing ]; then
    if ! read -r -a extra_flags <<<"$(pkg-config --cflags --libs gdal 2>/dev/null)" || [ ${#extra_flags[@]} -eq 0 ]; then
        echo "SKIP: GDAL's development files (pkg-config gdal) are not installed"
        exit 77
    fi
    # The reader the program loads as a module is linked in.
    extra_flags+=(-DVELMORA_DRAWINGS_BUILTIN)
fi

mkdir -p "$out_dir"
binary="$out_dir/fuzz_$target"
sources=("$here/fuzz_$target.cpp")
headers=()
includes=()
for m in "${modules[@]}"; do
    sources+=("$source_dir/$m.cpp")
    [ -f "$source_dir/$m.h" ] && headers+=("$source_dir/$m.h")
    dir="-I$(dirname "$source_dir/$m")"
    [[ " ${includes[*]} " == *" $dir "* ]] || includes+=("$dir")
done
stale=0
[ -x "$binary" ] || stale=1
for f in "${sources[@]}" "${headers[@]}" "$0"; do
    [ "$f" -nt "$binary" ] && stale=1
done
if [ $stale -eq 1 ]; then
    echo "Building $binary with $clang"
    # Debian builds Qt with reduced relocations: code that uses it must be position independent.
    "$clang" -std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -Wall -Wextra -Werror "${includes[@]}" -isystem /usr/include/eigen3 "${sources[@]}" "${qt_flags[@]}" "${extra_flags[@]}" -o "$binary"
fi

# New inputs go to a scratch corpus in the build folder; the seeds stay as committed.
scratch="$out_dir/corpus_$target"
rm -rf "$scratch"
mkdir -p "$scratch"
# shellcheck disable=SC2086 # FUZZ_OPTIONS is a list of options
# A broken rule must fail the test: libFuzzer's own exit code for it, 77, would read as skipped.
"$binary" -runs="${FUZZ_RUNS:-$default_runs}" -seed="${FUZZ_SEED:-1}" -timeout=10 -error_exitcode=1 -timeout_exitcode=1 \
    -artifact_prefix="$out_dir/" -print_final_stats=1 ${FUZZ_OPTIONS:-} "$scratch" "$corpus"

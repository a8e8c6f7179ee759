#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UBSan) and runs
# each for SECONDS (default 60), one after the other. The corpus of each target
# is kept in the build folder, so later runs go on from what earlier runs
# found. Inputs that crash land in BUILD/findings/; the exit status is 1 when
# any target found one.
#
#   fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_bwkreader fuzz_engine fuzz_clipboard fuzz_procode fuzz_cp932codec fuzz_projectjson)
build=${BRINDLEWICK_FUZZ_BUILD:-build-fuzz}

# The fuzz preset of CMakePresets.json, in BRINDLEWICK_FUZZ_BUILD when that is set.
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# The files the tests use are the first inputs: real projects, designs and
# procode files, and the page they make.
seeds_for() {
    case "$1" in
    fuzz_bwkreader) echo examples/sample.bwk data/doc_code/standard/procode tests/golden/sample-standard.html ;;
    fuzz_engine) echo data/doc_code/standard/faq.ddc bench/doc_code/bench/bench.ddc tests/golden/sample-standard.html tests/golden/*/design.ddc ;;
    fuzz_clipboard) echo fuzz/seeds/clipboard/* ;;
    fuzz_procode) echo data/doc_code/standard/procode bench/doc_code/bench/procode ;;
    fuzz_cp932codec) echo examples/sample.bwk data/doc_code/standard/procode tests/golden/sample-standard.html ;;
    fuzz_projectjson) echo tests/golden/*/project.json ;;
    esac
}

mkdir -p "$build/findings" "$build/logs"
failed=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    # Named by their paths: the golden cases all have the same file names.
    for seed in $(seeds_for "$target"); do
        cp -n "$seed" "$corpus/$(echo "$seed" | tr / _)" 2>/dev/null || true
    done
    options=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=65536
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-")
    [ "$target" = fuzz_engine ] && options+=(-dict=fuzz/engine.dict)
    log="$build/logs/$target.log"
    if "$build/$target" "${options[@]}" "$corpus" >"$log" 2>&1; then
        result=ok
    else
        result="FOUND A CRASH (see $log)"
        failed=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "$target: ${runs:-?} executions in ${seconds} s, corpus $(find "$corpus" -type f | wc -l) files: $result"
done
exit $failed

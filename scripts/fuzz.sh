#!/usr/bin/env bash
# Runs fuzz targets built in a fuzz build folder, each for the given
# seconds, from first inputs made out of the project's own files plus the corpus
# that earlier runs grew there. Prints each target's executions, speed and
# coverage; a crash or a broken invariant fails the run and leaves the
# input under <build>/crashes.
#   scripts/fuzz.sh <build folder> <seconds> <target>...
# FUZZ_JOBS (default 1) targets run at a time.
set -euo pipefail

build=$(cd "$1" && pwd)
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
jobs=${FUZZ_JOBS:-1}

declare -A max_len=([book]=8192 [style]=2048 [fen]=256 [uci]=4096)

mkdir -p "$build/crashes" "$build/logs" "$build/work"
first="$build/first-inputs"

run_one() {
    local target=$1 log="$build/logs/$1.log"
    rm -rf "$first/$target"
    python3 "$source_dir/tests/fuzz/firstinputs.py" "$source_dir" "$target" "$first/$target"
    mkdir -p "$build/corpus/$target"
    # The working folder holds no book or style file that a target might read.
    if (cd "$build/work" && "$build/tests/fuzz/${target}_fuzz" \
            -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -max_len="${max_len[$target]}" \
            -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
            "$build/corpus/$target" "$first/$target") >"$log" 2>&1; then
        local runs speed last
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        # libFuzzer's last status line: coverage, features and the corpus it kept.
        last=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9A-Za-z]+')
        echo "$target: ${runs:-?} executions in ${seconds} s, ${speed:-?} exec/s, ${last:-no status line}"
    else
        echo "$target: FAILED, log $log"
        grep -E 'invariant broken|ERROR|SUMMARY|Test unit written|^    #[0-9]' "$log" | head -30
        return 1
    fi
}

status=0
pids=()
for target in "$@"; do
    run_one "$target" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$jobs" ]; then
        wait "${pids[0]}" || status=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status

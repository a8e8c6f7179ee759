#!/usr/bin/env bash
# brindlewick-cli export of a generated 32,767-entry project, as a whole
# process: the time with hyperfine, the peak memory with /usr/bin/time.
#
#   bench/measure_cli.sh [BUILD_FOLDER] [ENTRIES]     (defaults: build, 32767)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
entries=${2:-32767}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/brindlewick-generate" "$entries" "$work/faq.bwk"
export_command="$build/brindlewick-cli export $work/faq.bwk $work/out --program-folder bench"
echo "project: $(stat -c %s "$work/faq.bwk") bytes, $entries entries"

hyperfine --warmup 3 --runs 30 --prepare "rm -rf $work/out" "$export_command"

peak=0
for _ in 1 2 3 4 5; do
    rm -rf "$work/out"
    # shellcheck disable=SC2086
    kib=$(/usr/bin/time -f '%M' $export_command 2>&1 >/dev/null | tail -1)
    [ "$kib" -gt "$peak" ] && peak=$kib
done
echo "page: $(stat -c %s "$work/out/out.html") bytes"
echo "peak memory (largest of 5 runs): $((peak / 1024)) MiB"

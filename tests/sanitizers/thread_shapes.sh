#!/usr/bin/env bash
# Runs a tessen built with ThreadSanitizer over the shapes of deck that drive the report's
# writer thread hardest, and holds each run with two threads to the same run with one
# (TESSEN_THREADS=1): the same report bytes, diagnostics and exit status. Any finding of
# the sanitizer ends the run with its own exit status, so the comparison fails too.
#
#   thread_shapes.sh TESSEN SCRATCH
#
# The shapes: a few thousand small molecules with isotope sets (many small jobs), a few
# molecules of 500 atoms with isotope sets (large distance tables, large mass blocks), a
# deck ending in a fault after a few thousand molecules, the same deck written over the
# report of the one before (the old report closed by a thread of its own), and a report
# on a full device.
set -euo pipefail
tessen=$(realpath "$1")
scratch=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
export TSAN_OPTIONS="halt_on_error=1:exitcode=66:second_deadlock_stack=1"

rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch"
python3 "$source_dir/bench/make_deck.py" A SMALL.DAT --molecules 3000
python3 "$source_dir/bench/make_deck.py" C LARGE.DAT --molecules 3
{
    python3 "$source_dir/bench/make_deck.py" A /dev/stdout --molecules 2000 | sed '$d'
    printf ' -9\n  0   3   0\nLATE FAULT\n\nX\n'
    printf '  1  0  0  0    0.000000    0.000000    0.000000   15.994915\n'
    printf '  2  1  0  0    1.00.000\n'
} > FAULT.DAT

failures=0
# Runs tessen with the given TESSEN_THREADS ("" for the default) and records its status,
# standard error and report under the name given.
run() {
    local threads=$1 name=$2
    shift 2
    local status=0
    if [ -n "$threads" ]; then
        TESSEN_THREADS=$threads "$tessen" "$@" 2> "$name.err" || status=$?
    else
        env -u TESSEN_THREADS "$tessen" "$@" 2> "$name.err" || status=$?
    fi
    echo "$status" > "$name.status"
}
same() {
    if ! cmp -s "$1" "$2"; then
        echo "thread shapes: $1 and $2 differ" >&2
        failures=$((failures + 1))
    fi
}

for deck in SMALL LARGE FAULT; do
    run 1 "$deck.one" -o "$deck.ONE" "$deck.DAT"
    run "" "$deck.two" -o "$deck.TWO" "$deck.DAT"
    run "" "$deck.over" -o "$deck.TWO" "$deck.DAT" # over the report just written
    for result in two over; do
        same "$deck.one.status" "$deck.$result.status"
        same "$deck.one.err" "$deck.$result.err"
    done
    same "$deck.ONE" "$deck.TWO"
done
grep -qx 0 SMALL.one.status || { echo "thread shapes: SMALL did not run to its end" >&2; failures=$((failures + 1)); }
grep -qx 1 FAULT.one.status || { echo "thread shapes: FAULT did not end in its fault" >&2; failures=$((failures + 1)); }

if [ -w /dev/full ]; then
    run 1 full.one -o /dev/full LARGE.DAT
    run "" full.two -o /dev/full LARGE.DAT
    same full.one.status full.two.status
    same full.one.err full.two.err
    grep -qx 1 full.two.status || { echo "thread shapes: /dev/full did not fail" >&2; failures=$((failures + 1)); }
fi

if [ "$failures" -ne 0 ]; then
    cat ./*.err >&2
    exit 1
fi
echo "thread shapes: $(ls ./*.DAT | wc -l) decks, $(du -cb ./*.ONE | tail -1 | cut -f1) report bytes, the same with one thread and two"

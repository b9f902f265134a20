#!/usr/bin/env bash
# compare.sh - re-run one reference case and show where tessen departs from it.
#
#   tests/golden/compare.sh [-a] NAME [path-to-tessen]
#
# Runs tessen in a fresh temporary folder holding only NAME.DAT, types `NAME.DAT` at its
# prompt, and shows side by side (reference left, this run right, with `cat -A` making
# CR visible as ^M and line ends as $):
#   - the exit status;
#   - standard output against NAME.console;
#   - the report against NAME.OUT (or says that one was or was not written);
#   - standard error against the rest of NAME.status, as shapes (codes replaced by Xnnnn,
#     the free text of the third line by ...), which is how the tests compare it;
# and checks that the deck was left unchanged. Without -a only differing lines are shown,
# with the line numbers where they differ; -a shows every line.
# path-to-tessen defaults to $TESSEN, else build/tessen in the repository.
# Exit status: 0 when the case matches, 1 when it does not, 2 on a usage error.
# See tests/golden/TOOLS.md.
set -u

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"

all=0
if [[ "${1:-}" == "-a" || "${1:-}" == "--all" ]]; then
    all=1
    shift
fi
if [[ $# -lt 1 || $# -gt 2 || "$1" == "-h" || "$1" == "--help" ]]; then
    echo "usage: $0 [-a] NAME [path-to-tessen]" >&2
    exit 2
fi
name="$1"
tessen="${2:-${TESSEN:-$repo/build/tessen}}"
width="${WIDTH:-${COLUMNS:-180}}"

if [[ ! -f "$here/$name.DAT" ]]; then
    echo "no case $name: $here/$name.DAT not found" >&2
    exit 2
fi
if [[ ! -x "$tessen" ]]; then
    echo "no tessen at $tessen (build it with 'make build', or give its path)" >&2
    exit 2
fi
tessen="$(cd "$(dirname "$tessen")" && pwd)/$(basename "$tessen")"

work="$(mktemp -d "${TMPDIR:-/tmp}/tessen-compare-XXXXXX")"
trap 'rm -rf "$work"' EXIT
run="$work/run"
mkdir "$run"
cp "$here/$name.DAT" "$run/"

(cd "$run" && printf '%s\n' "$name.DAT" | "$tessen" >"$work/stdout" 2>"$work/stderr")
status=$?

expected_status="$(head -n 1 "$here/$name.status")"
tail -n +2 "$here/$name.status" >"$work/expected.stderr"

# The shape of a standard error, one line per line, as the tests compare it.
shape() {
    awk '
        NR == 1 { print ($0 == "" ? "(empty line)" : "NOT EMPTY: " $0); next }
        NR == 2 {
            if (match($0, /^run-time error [A-Za-z][0-9][0-9][0-9][0-9]/))
                print "run-time error Xnnnn" substr($0, RLENGTH + 1)
            else
                print "NOT A run-time error LINE: " $0
            next
        }
        NR == 3 {
            if (substr($0, 1, 2) != "- ") { print "NOT STARTING WITH \"- \": " $0; next }
            if (match($0, /floating-point error: [A-Za-z-]+/))
                print "- ... " substr($0, RSTART, RLENGTH)
            else
                print "- ..."
            next
        }
        { print "EXTRA LINE: " $0 }
    ' "$1"
    # A last line without LF is a departure too.
    if [[ -s "$1" && "$(tail -c 1 "$1" | od -An -c | tr -d ' ')" != '\n' ]]; then
        echo "(last line not ended by LF)"
    fi
}

differs=0

# side_by_side TITLE EXPECTED ACTUAL: shows the two files side by side when they differ.
side_by_side() {
    local title="$1" expected="$2" actual="$3"
    if cmp -s "$expected" "$actual"; then
        echo "== $title: same"
        return
    fi
    differs=1
    echo "== $title: DIFFERENT ($(cmp "$expected" "$actual" 2>&1 | sed -e "s|$work/||g" -e 's/^.*differ: //'))"
    echo "   differing lines (reference,this run): $(diff "$expected" "$actual" | grep -E '^[0-9]' | head -n 20 | tr '\n' ' ')"
    cat -A "$expected" >"$work/left"
    cat -A "$actual" >"$work/right"
    printf '%-*s   %s\n' $(((width - 3) / 2)) "reference" "this run"
    if [[ $all == 1 ]]; then
        diff --side-by-side --expand-tabs --width="$width" "$work/left" "$work/right"
    else
        diff --side-by-side --expand-tabs --suppress-common-lines --width="$width" "$work/left" "$work/right"
    fi
    echo
}

echo "case $name, tessen $tessen"
if [[ "$status" == "$expected_status" ]]; then
    echo "== exit status: same ($status)"
else
    differs=1
    echo "== exit status: DIFFERENT (reference $expected_status, this run $status)"
fi

side_by_side "standard output ($name.console)" "$here/$name.console" "$work/stdout"

if [[ -f "$here/$name.OUT" && -f "$run/$name.OUT" ]]; then
    side_by_side "report ($name.OUT)" "$here/$name.OUT" "$run/$name.OUT"
elif [[ -f "$here/$name.OUT" ]]; then
    differs=1
    echo "== report ($name.OUT): DIFFERENT (expected a report, none was written)"
elif [[ -f "$run/$name.OUT" ]]; then
    differs=1
    echo "== report ($name.OUT): DIFFERENT (no report expected, one was written: $(wc -l <"$run/$name.OUT") lines)"
else
    echo "== report: none, as expected"
fi

shape "$work/expected.stderr" >"$work/expected.shape"
shape "$work/stderr" >"$work/actual.shape"
side_by_side "standard error, by shape" "$work/expected.shape" "$work/actual.shape"
if ! cmp -s "$work/expected.stderr" "$work/stderr"; then
    echo "   (standard error words, for information; only the shape above is compared)"
    diff --side-by-side --expand-tabs --width="$width" "$work/expected.stderr" "$work/stderr"
    echo
fi

if cmp -s "$here/$name.DAT" "$run/$name.DAT"; then
    echo "== deck $name.DAT: unchanged"
else
    differs=1
    echo "== deck $name.DAT: CHANGED or removed by the run"
fi

if [[ $differs == 0 ]]; then
    echo "case $name: MATCHES"
else
    echo "case $name: DIFFERS"
fi
exit $differs

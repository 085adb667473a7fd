#!/usr/bin/env bash
# Times both ini conversions through the command line on a comparison file of
# 1,000,000 entries (about 40 MB) and a translated ini file of the same
# entries, with the peak memory of each run.
#
# Usage: bench/ini_conversions.sh [BUILD_DIR]   (default: build)
# Goals: each conversion within 2 s; peak memory below 4 x its input size.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$repo/build}"
cli="$build/bin/kestrin-replacer-cli"
work="${KESTRIN_BENCH_DIR:-/tmp/kestrin-bench-ini}"
[ -x "$cli" ] || { echo "missing $cli (build the command-line program first)" >&2; exit 2; }
if [ ! -x /usr/bin/time ]; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get install -y -qq time >/dev/null
fi

rm -rf "$work"
mkdir -p "$work"

# Entries as extraction writes them, in ascending offset order: plain texts
# with escapes, double-byte texts, and texts that begin with digits and a
# colon. The ini file translates two entries of every three.
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
count = 1_000_000
comparison = []
ini = []
for i in range(count):
    offset = 4096 + i * 37
    kind = i % 4
    if kind == 0:
        text = b"Open file %d\\tnow" % i
    elif kind == 1:
        text = b"\xb1\xa3\xb4\xe6\xce\xc4\xbc\xfe %d" % i
    elif kind == 2:
        text = b"%d:30 remaining" % (i % 24)
    else:
        text = b"Save all %d" % i
    comparison.append(b"\r\n%d:%s\r\n%s\r\n" % (offset, text, text))
    if i % 3 != 2:
        ini.append(b"%d=%s \xd2\xd1\xb7\xad\xd2\xeb\r\n" % (offset, text))
with open(f"{work}/app.exe.a.txt", "wb") as f:
    f.write(b"".join(comparison))
with open(f"{work}/translated.ini", "wb") as f:
    f.write(b"[Strings]\r\n" + b"".join(ini))
PY

comparison_bytes=$(stat -c %s "$work/app.exe.a.txt")
ini_bytes=$(stat -c %s "$work/translated.ini")
echo "comparison: $comparison_bytes bytes; translated ini: $ini_bytes bytes"
sync

status=0
measure() { # label, input bytes, command...
    local label="$1" input="$2"; shift 2
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" > "$work/out.txt"
    read -r seconds peak < "$work/time.txt"
    local ratio
    ratio=$(awk -v p="$peak" -v i="$input" 'BEGIN { printf "%.2f", p * 1024 / i }')
    echo "$label: ${seconds} s, peak ${peak} kB (${ratio} x input); $(cat "$work/out.txt")"
    if awk -v s="$seconds" -v r="$ratio" 'BEGIN { exit !(s > 2 || r >= 4) }'; then
        echo "  goal missed: within 2 s and below 4 x input"
        status=1
    fi
}

measure to-ini "$comparison_bytes" "$cli" to-ini "$work/app.exe.a.txt"
measure from-ini "$((comparison_bytes + ini_bytes))" \
    "$cli" from-ini "$work/app.exe.a.txt" "$work/translated.ini"
echo "ini written: $(stat -c %s "$work/app.exe.a.ini") bytes; comparison rewritten: $(stat -c %s "$work/app.exe.a.txt") bytes"
exit $status
